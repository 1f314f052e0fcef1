#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "curves/curve_set.h"
#include "platform/dialog_answer.h"

namespace mivaro {

// What the "Curve Style" dialog edits for one curve.
struct CurveStyleValues {
    std::string fileName;  // shown only: the curve file's name without its folder
    int size = 1;          // index into "0" .. "6"
    int style = 0;         // MarkerStyle, index into the style names
    Rgb colour = 0;        // the curve's colour when the dialog opens
    // The colour taken in the "Color Chart" dialog, the last of several visits.
    std::optional<Rgb> pickedColour;
    bool remove = false;
};

// The "Curve Style" dialog (with its "Color Chart"): the edited copy on OK,
// nothing on Cancel, whatever colour was picked meanwhile.
class CurveStyleDialogPort {
  public:
    virtual ~CurveStyleDialogPort() = default;
    virtual std::optional<CurveStyleValues> askCurveStyle(const CurveStyleValues& values) = 0;
};

// The items of the two lists, in index order.
const std::vector<std::string>& markerSizeItems();
const std::vector<std::string>& markerStyleItems();

// The index an editable list hands back on OK: the item whose text the list
// shows (picked or typed, blanks around it ignored); a text that names no
// item keeps `previous`, so a size never becomes -1 (a removed curve).
int listChoice(std::string_view text, const std::vector<std::string>& items, int previous);

// The dialog's values for curve c of the set.
CurveStyleValues curveStyleValues(const CurveSet& curves, int curve);

// Applies an accepted dialog to curve c: style and size, the picked colour to
// the curve and every point of it, and removal: size -1 and the curve's
// points dropped, the others keeping their order and every curve its index.
void applyCurveStyle(CurveSet& curves, int curve, const CurveStyleValues& values);

}  // namespace mivaro

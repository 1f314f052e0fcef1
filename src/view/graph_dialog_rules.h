#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "view/graph_dialogs.h"

namespace mivaro {

// The rules of the "X Axis", "Y Axis" and "Axis Titles" dialogs, apart from
// any toolkit: what the fields show on opening and how their texts are read
// back on OK. The Qt dialogs only move texts between these and the widgets.

// A range value as the fields show it: general format, up to six significant
// digits ("1.001", "0.1001", "1e+06").
std::string formatAxisValue(double value);

// A field's text without the blanks around it.
std::string_view trimmed(std::string_view text);

// The texts of one axis dialog's fields, in the order OK reads them.
struct AxisFieldTexts {
    std::string min;
    std::string max;
    std::string major;
    std::string labelDecimals;
};
AxisFieldTexts axisFieldTexts(const AxisDialogValues& values);

enum class AxisField { Min, Max, Major, LabelDecimals };

// The outcome of OK: the values read, or the first field that failed and the
// sentence telling the user what it needs.
struct AxisReadResult {
    std::optional<AxisDialogValues> values;
    AxisField failedField = AxisField::Min;
    std::string message;
};

// Reads the fields in order; the automatic flags are taken from `flags` as
// the check boxes show them. The message names the failing field.
AxisReadResult readAxisFields(const AxisDialogValues& flags, const AxisFieldTexts& texts);

// A number field: the whole text (blanks around it allowed) must be one
// finite number that fits a single-precision float.
std::optional<float> readNumberField(std::string_view text);
// The decimal precision: an integer from 0 to 9, nothing else in the field.
std::optional<int> readDecimalsField(std::string_view text);

// Longest axis title the document keeps, in characters.
inline constexpr int kMaxAxisTitleLength = 99;
// Largest font size the dialog accepts. The reading itself takes whatever
// leading integer there is (abc gives 0); a bigger size would only give a
// graph without a plot and font cells the toolkit cannot make.
inline constexpr int kMaxFontSize = 400;

// The font size field as the standard conversion reads it: its first nine
// characters, leading blanks and sign, then digits; no leading number gives 0.
int readFontSize(std::string_view text);

// The font size field, bold flag and both labels read on OK: the values, or
// nothing and the sentence for the user when a title is too long or the font
// size is outside 0 to kMaxFontSize.
struct TitlesReadResult {
    std::optional<AxisTitlesValues> values;
    std::string message;
};
TitlesReadResult readAxisTitles(std::string_view fontSizeText, int bold, const std::string& xLabel,
                                const std::string& yLabel);

// The eleven items of the font size list.
inline constexpr const char* kFontSizeItems[] = {"8",  "9",  "10", "11", "12", "14",
                                                 "16", "18", "20", "22", "24"};

}  // namespace mivaro

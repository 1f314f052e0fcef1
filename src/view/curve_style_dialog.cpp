#include "view/curve_style_dialog.h"

#include "view/graph_dialog_rules.h"

namespace mivaro {

namespace {

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Drops every element whose owner is `curve`, keeping the order of the rest.
template <typename T>
void keepOthers(std::vector<T>& values, const std::vector<int>& owners, int curve) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < values.size() && i < owners.size(); ++i) {
        if (owners[i] != curve) {
            values[kept++] = values[i];
        }
    }
    values.resize(kept);
}

}  // namespace

const std::vector<std::string>& markerSizeItems() {
    static const std::vector<std::string> items = {"0", "1", "2", "3", "4", "5", "6"};
    return items;
}

const std::vector<std::string>& markerStyleItems() {
    static const std::vector<std::string> items = {"Line", "Circle", "Circle Solid", "Square",
                                                   "Square Solid"};
    return items;
}

int listChoice(std::string_view text, const std::vector<std::string>& items, int previous) {
    const std::string_view shown = trimmed(text);
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (items[k] == shown) {
            return static_cast<int>(k);
        }
    }
    return previous;
}

CurveStyleValues curveStyleValues(const CurveSet& curves, int curve) {
    CurveStyleValues values;
    if (curve < 0 || curve >= curves.curveCount()) {
        return values;
    }
    const CurveInfo& info = curves.curves[static_cast<std::size_t>(curve)];
    values.fileName = fileNameOf(info.path);
    values.size = info.size;
    values.style = info.style;
    values.colour = info.colour;
    return values;
}

void applyCurveStyle(CurveSet& curves, int curve, const CurveStyleValues& values) {
    if (curve < 0 || curve >= curves.curveCount()) {
        return;
    }
    CurveInfo& info = curves.curves[static_cast<std::size_t>(curve)];
    info.style = values.style;
    if (values.size >= 0) {
        info.size = values.size;
    }
    if (values.pickedColour) {
        info.colour = *values.pickedColour;
        for (std::size_t i = 0; i < curves.colour.size() && i < curves.curveIndex.size(); ++i) {
            if (curves.curveIndex[i] == curve) {
                curves.colour[i] = info.colour;
            }
        }
    }
    if (!values.remove) {
        return;
    }
    info.size = -1;
    const std::vector<int> owners = curves.curveIndex;
    keepOthers(curves.segment, owners, curve);
    keepOthers(curves.time, owners, curve);
    keepOthers(curves.force, owners, curve);
    keepOthers(curves.depth, owners, curve);
    keepOthers(curves.colour, owners, curve);
    keepOthers(curves.curveIndex, owners, curve);
}

}  // namespace mivaro

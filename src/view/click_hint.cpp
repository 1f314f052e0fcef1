#include "view/click_hint.h"

#include "analysis/analysis_row.h"
#include "platform/c_format.h"

namespace mivaro {

std::string clickHint(const CurveSet& set, int point) {
    if (point < 0 || point >= set.pointCount()) {
        return {};
    }
    const char* what = nullptr;
    const char* offer = nullptr;
    switch (set.segment[static_cast<std::size_t>(point)]) {
        case LOAD:
            what = "Loading";
            offer = "the label and rates";
            break;
        case TOP_HOLD:
            what = "Top hold";
            offer = "the hardness";
            break;
        case UNLOAD:
            what = "Unloading";
            offer = "the modulus";
            break;
        case RELOAD:
            what = "Reloading";
            offer = "the modulus";
            break;
        default:
            return {};
    }
    const std::string file = fileTitleOf(curvePathOf(set, point));
    return formatC("%s point %d of %s: left click for %s", what, pointIndexInFile(set, point), file.c_str(),
                   offer);
}

}  // namespace mivaro

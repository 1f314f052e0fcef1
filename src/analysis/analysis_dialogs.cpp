#include "analysis/analysis_dialogs.h"

namespace mivaro {

AdvancedDialogValues advancedValuesOf(const ModulusSettings& s, bool sectionGraphAvailable) {
    return AdvancedDialogValues{s.topPercent, s.sectionSizePercent, s.bottomPercent, s.zeroStartDepth,
                                sectionGraphAvailable};
}

void applyAdvancedValues(ModulusSettings& s, const AdvancedDialogValues& values) {
    s.topPercent = values.topPercent;
    s.sectionSizePercent = values.sectionSizePercent;
    s.bottomPercent = values.bottomPercent;
    s.zeroStartDepth = values.zeroStartDepth;
}

}  // namespace mivaro

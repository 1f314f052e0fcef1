#pragma once

#include <vector>

#include "analysis/analysis_flow.h"

namespace mivaro {

inline constexpr Rgb kHardnessColour = makeRgb(255, 0, 255);

// The top hold around a clicked 'T' point and the upper unloading after it.
struct HoldSelection {
    int clicked = -1;
    int holdFirst = 0;
    int holdLast = -1;
    int before = -1;  // point just before the hold, -1 when the hold starts its curve
    int after = -1;   // first point after the hold, -1 when the hold ends its curve
    float pMaxMn = 0;
    float hMaxNm = 0;
    // Unloading points after the hold with force above half of pMax, in point order.
    std::vector<double> depth;
    std::vector<double> force;
    int lastCopied = -1;  // CurveSet index of the last copied point
};

// Colours the hold and the upper unloading magenta and asks for a repaint.
HoldSelection selectHold(FlowContext& ctx, int clicked);

// Cancel: the points from before the hold to the last copied point get the curve's colour back.
void restoreHold(FlowContext& ctx, const HoldSelection& hold);

// The calculation after the "Hardness" dialog was accepted; writes nothing to disk.
FlowOutcome performHardness(FlowContext& ctx, const HoldSelection& hold, const HardnessSettings& settings);

// The whole flow after a click on a 'T' point: select, ask, save
// "hardness_setup.par" on OK, calculate.
FlowOutcome runHardnessFlow(FlowContext& ctx, int clicked, HardnessDialogPort& dialog);

}  // namespace mivaro

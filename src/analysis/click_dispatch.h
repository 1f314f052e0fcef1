#pragma once

#include "analysis/analysis_flow.h"

namespace mivaro {

// What a left click on a point offers, by the point's segment letter.
enum class ClickFlow {
    None,      // 'B', 'X' and any other letter
    Loading,   // 'L': "Loading Curve "
    Hardness,  // 'T': "Hardness"
    Branch,    // 'U', 'R': "Elastic Modulus and Poisson's Ratio Calculation"
};

ClickFlow clickFlowFor(char letter);

// The dialogs the flows ask; a flow whose dialog is missing does nothing.
struct ClickDialogs {
    LoadingCurveDialogPort* loading = nullptr;
    HardnessDialogPort* hardness = nullptr;
    ModulusDialogPort* modulus = nullptr;
    // Takes the series of "Add to Graph of E(h)"; none: the button is not offered.
    ModulusGraphSink* modulusGraph = nullptr;
};

// Runs the flow the clicked point's letter offers.
FlowOutcome runClickFlow(FlowContext& ctx, int clicked, const ClickDialogs& dialogs);

}  // namespace mivaro

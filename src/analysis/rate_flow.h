#pragma once

#include "analysis/analysis_flow.h"

namespace mivaro {

// Shown (caption "Error") instead of a rate when the run has no time span.
inline constexpr const char* kZeroTimeSpanRate =
    "The rate cannot be calculated: the clicked point and the start of its run have the same time. "
    "Click a later point of the run.";

// Loading flow after the "Loading Curve " dialog answered: 0 the label text,
// 1 loading rate, 2 displacement rate, -1 nothing.
FlowOutcome performLoadingAction(FlowContext& ctx, int clicked, const Acted<LoadingCurveValues>& answer);

// The whole flow after a click on an 'L' point. The label field starts with
// the file title of the clicked point's curve.
FlowOutcome runLoadingFlow(FlowContext& ctx, int clicked, LoadingCurveDialogPort& dialog);

// The label field's starting text for a clicked point.
std::string loadingLabelFor(const CurveSet& set, int clicked);

// Actions 3 (force rate) and 4 (depth rate) of the branch flow: from the start
// of the 'U'/'R' run that ends at the clicked point.
void branchRateAction(FlowContext& ctx, FlowOutcome& outcome, int clicked, bool forceRate);

}  // namespace mivaro

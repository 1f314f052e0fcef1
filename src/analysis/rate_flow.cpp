#include "analysis/rate_flow.h"

#include <optional>
#include <string>

#include "platform/c_format.h"

namespace mivaro {
namespace {

constexpr std::size_t kLabelCapacity = 300;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

bool isBranchLetter(char letter) {
    return letter == UNLOAD || letter == RELOAD;
}

// Start of the run ending at the clicked point; never before its curve's first point.
template <typename InRun>
int runStart(const CurveSet& set, int clicked, InRun inRun) {
    const PointSpan span = curveSpanOf(set, clicked);
    int s = clicked;
    while (s > span.first && inRun(set.segment[at(s - 1)])) {
        --s;
    }
    return s;
}

// Rates are taken from the single-precision arrays, as they are stored.
// Nothing when the run has no time span (the clicked point is its first
// point, or the times are equal): there is no rate to place.
std::optional<float> rateValue(const CurveSet& set, int s, int c, bool forceRate) {
    const float dt = set.time[at(c)] - set.time[at(s)];
    if (dt == 0) {
        return std::nullopt;
    }
    if (forceRate) {
        return (set.force[at(c)] - set.force[at(s)]) / dt;
    }
    return (set.depth[at(c)] - set.depth[at(s)]) / dt;
}

// The rate's line, recorded for the results table as the span s..c.
void emitRate(FlowContext& ctx, FlowOutcome& outcome, int s, int c, bool forceRate) {
    const std::optional<float> value = rateValue(ctx.set, s, c, forceRate);
    if (!value) {
        refuse(ctx, outcome, kZeroTimeSpanRate);
        return;
    }
    const double rate = *value;
    emitText(ctx, outcome, formatC(forceRate ? "%.*f mN/s" : "%.*f nm/s", ctx.style.labelDecimals, rate));
    AnalysisRecord record;
    record.kind = forceRate ? AnalysisKind::LoadingRate : AnalysisKind::DisplacementRate;
    record.clicked = c;
    record.first = s;
    record.last = c;
    record.rate = rate;
    outcome.record = record;
}

}  // namespace

std::string loadingLabelFor(const CurveSet& set, int clicked) {
    std::string title = fileTitleOf(curvePathOf(set, clicked));
    if (title.size() > kLabelCapacity) {
        title.resize(kLabelCapacity);
    }
    return title;
}

FlowOutcome performLoadingAction(FlowContext& ctx, int clicked, const Acted<LoadingCurveValues>& answer) {
    FlowOutcome outcome;
    switch (answer.action) {
        case kLoadingLabel:
            emitText(ctx, outcome, answer.values.labelText);
            break;
        case kLoadingRate:
        case kLoadingDisplacementRate: {
            const int s = runStart(ctx.set, clicked, [](char letter) { return letter == LOAD; });
            emitRate(ctx, outcome, s, clicked, answer.action == kLoadingRate);
            break;
        }
        default:
            break;
    }
    return outcome;
}

FlowOutcome runLoadingFlow(FlowContext& ctx, int clicked, LoadingCurveDialogPort& dialog) {
    if (!pointHasLetter(ctx.set, clicked, LOAD)) {
        return {};
    }
    const std::optional<Acted<LoadingCurveValues>> answer =
        dialog.askLoadingCurve(LoadingCurveValues{loadingLabelFor(ctx.set, clicked)});
    if (!answer) {
        return {};
    }
    return performLoadingAction(ctx, clicked, *answer);
}

void branchRateAction(FlowContext& ctx, FlowOutcome& outcome, int clicked, bool forceRate) {
    const int s = runStart(ctx.set, clicked, isBranchLetter);
    emitRate(ctx, outcome, s, clicked, forceRate);
}

}  // namespace mivaro

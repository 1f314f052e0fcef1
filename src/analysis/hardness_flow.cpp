#include "analysis/hardness_flow.h"

#include <algorithm>

#include "analysis/indentation_analysis.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

void trackMaximum(const CurveSet& set, int i, HoldSelection& hold) {
    if (set.force[at(i)] > hold.pMaxMn) {
        hold.pMaxMn = set.force[at(i)];
        hold.hMaxNm = set.depth[at(i)];
    }
}

}  // namespace

HoldSelection selectHold(FlowContext& ctx, int clicked) {
    CurveSet& set = ctx.set;
    HoldSelection hold;
    hold.clicked = clicked;
    const PointSpan span = curveSpanOf(set, clicked);
    int i = clicked;
    for (; i <= span.last && set.segment[at(i)] == TOP_HOLD; ++i) {
        set.colour[at(i)] = kHardnessColour;
        trackMaximum(set, i, hold);
    }
    hold.holdLast = i - 1;
    hold.after = i <= span.last ? i : -1;
    for (i = clicked - 1; i >= span.first && set.segment[at(i)] == TOP_HOLD; --i) {
        set.colour[at(i)] = kHardnessColour;
        trackMaximum(set, i, hold);
    }
    hold.holdFirst = i + 1;
    hold.before = i >= span.first ? i : -1;
    if (hold.after >= 0) {
        const double half = 0.5 * hold.pMaxMn;
        for (i = hold.after; i <= span.last && set.force[at(i)] > half; ++i) {
            hold.depth.push_back(set.depth[at(i)]);
            hold.force.push_back(set.force[at(i)]);
            set.colour[at(i)] = kHardnessColour;
            hold.lastCopied = i;
        }
    }
    ctx.repaint.requestRepaint(true);
    return hold;
}

void restoreHold(FlowContext& ctx, const HoldSelection& hold) {
    const int owner = ctx.set.curveIndex[at(hold.clicked)];
    const Rgb colour =
        owner >= 0 && owner < ctx.set.curveCount() ? ctx.set.curves[at(owner)].colour : makeRgb(0, 0, 0);
    const int from = hold.before >= 0 ? hold.before : hold.holdFirst;
    const int to = std::max(hold.holdLast, hold.lastCopied);
    for (int i = from; i <= to; ++i) {
        ctx.set.colour[at(i)] = colour;
    }
    ctx.repaint.requestRepaint(true);
}

FlowOutcome performHardness(FlowContext& ctx, const HoldSelection& hold, const HardnessSettings& s) {
    FlowOutcome outcome;
    if (s.formula < 0 || s.formula > 2) {
        refuse(ctx, outcome, "No hardness formula is chosen: choose HM, HV or HRA.");
        return outcome;
    }
    if (hold.depth.empty()) {
        refuse(ctx, outcome,
               "No unloading point after the hold lies above half of the maximum force, so the hardness "
               "cannot be calculated.");
        return outcome;
    }
    const auto number = [](const std::string& text) { return static_cast<float>(textToNumber(text)); };
    AnalyseIndentation(ctx.curve, hold.depth.data(), hold.force.data(), static_cast<int>(hold.depth.size()),
                       number(s.Cf), number(s.epsilon), 0.0f, 0.0f, 0.0f, 0.0f, number(s.C0), number(s.C1),
                       number(s.D0), number(s.D1), hold.pMaxMn, hold.hMaxNm);
    outcome.resultsComputed = true;
    const IndentationResults& r = ctx.curve.results;
    const int precision =
        std::max({CountDecimals(s.C0), CountDecimals(s.C1), CountDecimals(s.D0), CountDecimals(s.D1)});
    AnalysisRecord record;
    record.kind = AnalysisKind::Hardness;
    record.clicked = hold.clicked;
    record.first = hold.holdFirst;
    record.last = hold.holdLast;
    record.hardness = s;
    record.pMaxMn = hold.pMaxMn;
    record.hMaxNm = hold.hMaxNm;
    std::string text;
    switch (s.formula) {
        case 0:
            text = formatC("%s %.*f %s", "HM = ", precision, static_cast<double>(r.HM), "N/mm\u00b2");
            break;
        case 1:
            text = formatC("%s %.*f %s", "HV = ", precision, static_cast<double>(r.HV), "kgf/mm\u00b2");
            break;
        default:
            text = formatC("%s %.*f %s", "HRA = ", precision, static_cast<double>(r.HRA), "");
            break;
    }
    // Measured from the point before the hold to the first point after it
    // (there is one: the unloading points above were copied from there).
    const int start = hold.before >= 0 ? hold.before : hold.holdFirst;
    const float holdTime = ctx.set.time[at(hold.after)] - ctx.set.time[at(start)];
    record.holdSeconds = holdTime;
    if (s.includeHoldTime != 0) {
        text += formatC("  %.*f s", ctx.style.labelDecimals, static_cast<double>(holdTime));
    }
    emitText(ctx, outcome, text);
    outcome.record = record;
    return outcome;
}

FlowOutcome runHardnessFlow(FlowContext& ctx, int clicked, HardnessDialogPort& dialog) {
    if (!pointHasLetter(ctx.set, clicked, TOP_HOLD)) {
        return {};
    }
    const HoldSelection hold = selectHold(ctx, clicked);
    const std::optional<HardnessSettings> answer =
        dialog.askHardness(readHardnessSettings(ctx.curve.settingsDirectory));
    if (!answer) {
        restoreHold(ctx, hold);
        return {};
    }
    if (ctx.saveSettings) {
        writeHardnessSettings(ctx.curve.settingsDirectory, *answer);  // unwritable: skipped silently
    }
    return performHardness(ctx, hold, *answer);
}

}  // namespace mivaro

#include "analysis/branch_flow.h"

#include <algorithm>

#include "analysis/indentation_analysis.h"
#include "analysis/rate_flow.h"
#include "analysis/section_modulus.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

void trackMaximum(const CurveSet& set, int i, BranchSelection& branch) {
    if (set.force[at(i)] > branch.pMaxMn) {
        branch.pMaxMn = set.force[at(i)];
        branch.hMaxNm = set.depth[at(i)];
    }
}

// Actions 1 and 5 share the analysis of the selected force range.
bool analyseRange(FlowContext& ctx, FlowOutcome& outcome, const BranchSelection& branch,
                  const ModulusSettings& s) {
    if (branch.rangeCount < 1) {
        refuse(ctx, outcome,
               "The force range selects no points of the branch, so nothing can be calculated. "
               "Widen the range between Minimum and Maximum.");
        return false;
    }
    const IndentationInputs in = modulusInputs(s, branch);
    AnalyseIndentation(ctx.curve, branch.depth.data() + branch.rangeStart,
                       branch.force.data() + branch.rangeStart, branch.rangeCount, in.complianceNmPerMn,
                       in.epsilon, in.Es, in.Vs, in.Ei, in.Vi, in.C0, in.C1, 0.0f, 0.0f, in.pMaxMn,
                       in.hMaxNm);
    outcome.resultsComputed = true;
    return true;
}

void modulusAction(FlowContext& ctx, FlowOutcome& outcome, const BranchSelection& branch,
                   const ModulusSettings& s) {
    if (s.solveFor < 0 || s.solveFor > 3) {
        refuse(ctx, outcome, "No quantity to solve for is chosen: choose Es, Vs, Ei or Vi.");
        return;
    }
    if (!analyseRange(ctx, outcome, branch, s)) {
        return;
    }
    const int precision =
        std::max({CountDecimals(s.Es), CountDecimals(s.Ei), CountDecimals(s.Vs), CountDecimals(s.Vi)});
    const IndentationResults& r = ctx.curve.results;
    const char* label = "Es = ";
    const char* unit = "GPa";
    double value = r.Es;
    switch (s.solveFor) {
        case 1:
            label = "Vs = ";
            unit = "";
            value = r.Vs;
            break;
        case 2:
            label = "Ei = ";
            value = r.Ei;
            break;
        case 3:
            label = "Vi = ";
            unit = "";
            value = r.Vi;
            break;
        default:
            break;
    }
    emitText(ctx, outcome, formatC("%s %.*f %s", label, precision, value, unit));
}

void equationAction(FlowContext& ctx, FlowOutcome& outcome, const BranchSelection& branch,
                    const ModulusSettings& s) {
    if (!analyseRange(ctx, outcome, branch, s)) {
        return;
    }
    const IndentationResults& r = ctx.curve.results;
    const int p = ctx.style.labelDecimals;
    emitText(ctx, outcome, formatC("P = %.*f (h - %.*f)^%.*f", p, r.a, p, r.hf, p, r.m));
}

}  // namespace

IndentationInputs modulusInputs(const ModulusSettings& s, const BranchSelection& branch) {
    IndentationInputs in;
    in.complianceNmPerMn = static_cast<float>(textToNumber(s.Cf));
    in.epsilon = static_cast<float>(textToNumber(s.epsilon));
    in.Es = static_cast<float>(textToNumber(s.Es));
    in.Vs = static_cast<float>(textToNumber(s.Vs));
    in.Ei = static_cast<float>(textToNumber(s.Ei));
    in.Vi = static_cast<float>(textToNumber(s.Vi));
    in.C0 = static_cast<float>(textToNumber(s.C0));
    in.C1 = static_cast<float>(textToNumber(s.C1));
    in.pMaxMn = branch.pMaxMn;
    in.hMaxNm = branch.hMaxNm;
    return in;
}

BranchSelection selectBranch(FlowContext& ctx, int clicked) {
    CurveSet& set = ctx.set;
    BranchSelection branch;
    branch.clicked = clicked;
    branch.letter = set.segment[at(clicked)];
    branch.previousColour = set.colour[at(clicked)];
    const PointSpan span = curveSpanOf(set, clicked);
    int i = clicked;
    for (; i <= span.last && set.segment[at(i)] == branch.letter; ++i) {
        set.colour[at(i)] = kBranchColour;
        trackMaximum(set, i, branch);
    }
    branch.runLast = i - 1;
    for (i = clicked - 1; i >= span.first && set.segment[at(i)] == branch.letter; --i) {
        set.colour[at(i)] = kBranchColour;
        trackMaximum(set, i, branch);
    }
    branch.runFirst = i + 1;
    ctx.repaint.requestRepaint(true);
    return branch;
}

void restoreBranch(FlowContext& ctx, const BranchSelection& branch) {
    for (int i = branch.runFirst; i <= branch.runLast; ++i) {
        ctx.set.colour[at(i)] = branch.previousColour;
    }
    ctx.repaint.requestRepaint(true);
}

void copyBranch(const CurveSet& set, BranchSelection& branch) {
    const int length = branch.runLength();
    branch.depth.assign(at(length + 1), 0.0);
    branch.force.assign(at(length + 1), 0.0);
    branch.copied = 0;
    const PointSpan span = curveSpanOf(set, branch.clicked);
    if (branch.letter == RELOAD) {
        // A reload starts where the unload or hold before it ended: that point belongs to the branch.
        const int from = branch.runFirst > span.first ? branch.runFirst - 1 : branch.runFirst;
        for (int i = from; i <= branch.runLast; ++i) {
            branch.depth[at(branch.copied)] = set.depth[at(i)];
            branch.force[at(branch.copied)] = set.force[at(i)];
            ++branch.copied;
        }
    } else {
        for (int i = branch.runLast; i >= branch.runFirst; --i) {
            branch.depth[at(branch.copied)] = set.depth[at(i)];
            branch.force[at(branch.copied)] = set.force[at(i)];
            ++branch.copied;
        }
    }
}

ForceRange forceRangeOf(const double* force, int copied, int runLength, double loPct, double hiPct,
                        float pMaxMn) {
    const double lo = loPct * static_cast<double>(pMaxMn) * 0.01;
    const double hi = hiPct * static_cast<double>(pMaxMn) * 0.01;
    int k = 0;
    while (k < copied && !(force[k] >= lo)) {
        ++k;
    }
    int e = k;
    if (k < copied && !(force[k] >= hi)) {
        e = k + 1;
        while (e < copied && !(force[e] >= hi)) {
            ++e;
        }
        if (e >= copied) {
            e = runLength + 1;
        }
    }
    return {k, std::max(0, e - k - 1)};
}

void selectForceRange(FlowContext& ctx, BranchSelection& branch, const ModulusSettings& s) {
    const ForceRange range = forceRangeOf(branch.force.data(), branch.copied, branch.runLength(),
                                          s.forceMinPercent, s.forceMaxPercent, branch.pMaxMn);
    branch.rangeStart = range.start;
    branch.rangeCount = range.count;
    const double lo = s.forceMinPercent * static_cast<double>(branch.pMaxMn) * 0.01;
    const double hi = s.forceMaxPercent * static_cast<double>(branch.pMaxMn) * 0.01;
    for (int i = branch.runFirst; i <= branch.runLast; ++i) {
        const double f = ctx.set.force[at(i)];
        if (f >= lo && f <= hi) {
            ctx.set.colour[at(i)] = kForceRangeColour;
        }
    }
    ctx.repaint.requestRepaint(true);
}

FlowOutcome performBranchAction(FlowContext& ctx, BranchSelection& branch, const ModulusSettings& settings,
                                int action, ModulusGraphSink& graph) {
    FlowOutcome outcome;
    copyBranch(ctx.set, branch);
    selectForceRange(ctx, branch, settings);
    switch (action) {
        case kActionModulus:
            modulusAction(ctx, outcome, branch, settings);
            break;
        case kActionSection:
            addSectionModulusSeries(ctx, outcome, branch, settings, graph);
            break;
        case kActionLoadingRate:
        case kActionDisplacementRate:
            branchRateAction(ctx, outcome, branch.clicked, action == kActionLoadingRate);
            break;
        case kActionEquation:
            equationAction(ctx, outcome, branch, settings);
            break;
        default:
            break;
    }
    const bool completed = outcome.text.has_value() || outcome.seriesAdded;
    if (completed && !outcome.record) {
        AnalysisRecord record;
        record.kind = action == kActionSection    ? AnalysisKind::Section
                      : action == kActionEquation ? AnalysisKind::Equation
                                                  : AnalysisKind::Modulus;
        record.clicked = branch.clicked;
        record.first = branch.runFirst;
        record.last = branch.runLast;
        record.modulus = settings;
        record.pMaxMn = branch.pMaxMn;
        record.hMaxNm = branch.hMaxNm;
        outcome.record = record;
    }
    return outcome;
}

FlowOutcome runBranchFlow(FlowContext& ctx, int clicked, ModulusDialogPort& dialog, ModulusGraphSink* graph) {
    if (!pointHasLetter(ctx.set, clicked, UNLOAD) && !pointHasLetter(ctx.set, clicked, RELOAD)) {
        return {};
    }
    BranchSelection branch = selectBranch(ctx, clicked);
    ModulusDialogValues opened;
    opened.fileTitle = fileTitleOf(curvePathOf(ctx.set, clicked));
    opened.branchName = branch.letter == RELOAD ? kReloadingBranchName : kUnloadingBranchName;
    opened.settings = readModulusSettings(ctx.curve.settingsDirectory);
    opened.sectionGraphAvailable = graph != nullptr;
    const std::optional<Acted<ModulusDialogValues>> answer = dialog.askModulus(opened);
    const int action = answer ? answer->action : kActionCancelled;
    const bool sectionWithoutGraph = action == kActionSection && graph == nullptr;
    if (action < kActionModulus || action > kActionEquation || sectionWithoutGraph) {
        restoreBranch(ctx, branch);
        return {};
    }
    if (ctx.saveSettings) {
        writeModulusSettings(ctx.curve.settingsDirectory, answer->values.settings);  // unwritable: skipped
    }
    NoModulusGraph none;
    return performBranchAction(ctx, branch, answer->values.settings, action,
                               graph != nullptr ? *graph : none);
}

}  // namespace mivaro

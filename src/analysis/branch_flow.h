#pragma once

#include <vector>

#include "analysis/analysis_flow.h"
#include "analysis/indentation_analysis.h"

namespace mivaro {

inline constexpr Rgb kBranchColour = makeRgb(0, 0, 255);
inline constexpr Rgb kForceRangeColour = makeRgb(0, 255, 0);

// The unloading or reloading run around a clicked point and its copied data.
struct BranchSelection {
    int clicked = -1;
    char letter = 0;
    int runFirst = 0;
    int runLast = -1;
    float pMaxMn = 0;
    float hMaxNm = 0;  // depth where pMax was first reached in scan order
    Rgb previousColour = 0;

    // Filled by copyBranch: ascending depth, room for run length + 1 points.
    std::vector<double> depth;
    std::vector<double> force;
    int copied = 0;

    // Filled by selectForceRange: the points from rangeStart used by the fit.
    int rangeStart = 0;
    int rangeCount = 0;

    int runLength() const { return runLast - runFirst + 1; }
};

// The dialog texts as numbers (not a number: 0) with Pmax and hmax of the run.
IndentationInputs modulusInputs(const ModulusSettings& settings, const BranchSelection& branch);

// Colours the run blue, finds Pmax and hmax, asks for a repaint.
BranchSelection selectBranch(FlowContext& ctx, int clicked);

// Gives every run point back the colour the clicked point had; asks for a repaint.
void restoreBranch(FlowContext& ctx, const BranchSelection& branch);

// Copies the branch in ascending depth order: a reload forward from the point
// before it, an unload backward.
void copyBranch(const CurveSet& set, BranchSelection& branch);

// The fit points of a force range (in % of pMax) among the copied points of a
// run of runLength points: count points from start, as the modulus dialog's
// Minimum and Maximum select them.
struct ForceRange {
    int start = 0;
    int count = 0;
};
ForceRange forceRangeOf(const double* force, int copied, int runLength, double loPct, double hiPct,
                        float pMaxMn);

// Chooses the fit points of the force range and colours the run points inside it green.
void selectForceRange(FlowContext& ctx, BranchSelection& branch, const ModulusSettings& settings);

// Steps after the dialog was accepted: copy, force range, then the action
// (1 modulus, 2 section, 3/4 rates, 5 equation). Nothing is written to disk.
FlowOutcome performBranchAction(FlowContext& ctx, BranchSelection& branch, const ModulusSettings& settings,
                                int action, ModulusGraphSink& graph);

// The whole flow after a click on a 'U' or 'R' point: select, ask, save
// "curve_setup.par" when accepted, perform. Without a modulus graph the
// dialog offers no "Add to Graph of E(h)".
FlowOutcome runBranchFlow(FlowContext& ctx, int clicked, ModulusDialogPort& dialog, ModulusGraphSink* graph);

}  // namespace mivaro

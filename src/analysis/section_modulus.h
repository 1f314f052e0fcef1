#pragma once

#include <vector>

#include "analysis/branch_flow.h"
#include "analysis/indentation_analysis.h"
#include "platform/progress_port.h"

namespace mivaro {

// One point of the modulus-versus-depth series.
struct SectionPoint {
    double depthNm = 0;  // depth of the section centre
    double modulusGPa = 0;
};

struct SectionSeries {
    std::vector<SectionPoint> points;
    IndentationResults lastResults;  // of the last qualifying section (scan order)
    bool anySection = false;
    bool stopped = false;  // the user stopped the work: the series is incomplete
};

// The sections of w points from each start q < Z - w - 1 whose first force lies
// in (Bottom %, Top %] of Pmax, each analysed with the common maximum depth hP.
// threads = 0 uses every core; the result does not depend on the thread count
// nor on whether progress is reported.
SectionSeries computeSectionSeries(const double* depth, const double* force, int branchSlots, int w,
                                   const IndentationInputs& inputs, double bottomPercent, double topPercent,
                                   unsigned threads = 0, ProgressPort* progress = nullptr);

// Action 2 of the branch flow: the overall fit, the sections, Zero Start
// Depth, and the hand-over of the series to the modulus graph. Stopped on the
// progress port, it adds no series and leaves the results as they were.
void addSectionModulusSeries(FlowContext& ctx, FlowOutcome& outcome, const BranchSelection& branch,
                             const ModulusSettings& settings, ModulusGraphSink& graph);

}  // namespace mivaro

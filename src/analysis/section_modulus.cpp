#include "analysis/section_modulus.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "analysis/indentation_analysis.h"
#include "analysis/parallel_shares.h"

namespace mivaro {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

constexpr int kSeriesCapacity = 10;

}  // namespace

SectionSeries computeSectionSeries(const double* depth, const double* force, int branchSlots, int w,
                                   const IndentationInputs& inputs, double bottomPercent, double topPercent,
                                   unsigned threads, ProgressPort* progress) {
    const double pMax = inputs.pMaxMn;
    const double lower = bottomPercent * pMax * 0.01;
    const double upper = topPercent * pMax * 0.01;
    std::vector<int> starts;
    for (int q = 0; q < branchSlots - w - 1; ++q) {
        if (lower < force[q] && force[q] <= upper) {
            starts.push_back(q);
        }
    }
    // Sections overlap: the force logarithms are taken once for the whole branch.
    std::vector<double> log10Force(static_cast<std::size_t>(std::max(branchSlots, 0)));
    for (int i = 0; i < branchSlots; ++i) {
        log10Force[at(i)] = force[i] > 0 ? std::log10(force[i]) : 0.0;
    }
    std::vector<IndentationResults> results(starts.size());
    if (threads == 0) {
        threads = std::max(1u, std::thread::hardware_concurrency());
    }
    threads = std::min<unsigned>(threads, static_cast<unsigned>(std::max<std::size_t>(starts.size(), 1)));
    // With progress to report the sections go in about a hundred blocks, each
    // shared among the threads; sections are independent, so the blocks
    // change nothing in the results.
    const std::size_t total = starts.size();
    const std::size_t block =
        progress != nullptr ? std::max<std::size_t>(threads, (total + 99) / 100) : total;
    if (progress != nullptr) {
        progress->begin("Calculating the modulus along the branch...", static_cast<int>(total));
    }
    bool stopped = false;
    for (std::size_t from = 0; from < total && !stopped; from += block) {
        const std::size_t to = std::min(total, from + block);
        // Interleaving keeps the share of each thread even.
        auto work = [&](unsigned first) {
            for (std::size_t i = from + first; i < to; i += threads) {
                const int q = starts[i];
                results[i] = computeIndentation(depth + q, force + q, w, inputs, false, nullptr,
                                                log10Force.data() + q);
            }
        };
        runShares(threads, work);
        if (progress != nullptr && !progress->advance(static_cast<int>(to))) {
            stopped = true;
        }
    }
    if (progress != nullptr) {
        progress->end();
    }
    if (stopped) {
        SectionSeries none;
        none.stopped = true;
        return none;
    }
    SectionSeries series;
    series.points.reserve(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        series.points.push_back({depth[starts[i] + w / 2], static_cast<double>(results[i].Es)});
    }
    if (!starts.empty()) {
        series.anySection = true;
        series.lastResults = results.back();
    }
    return series;
}

void addSectionModulusSeries(FlowContext& ctx, FlowOutcome& outcome, const BranchSelection& branch,
                             const ModulusSettings& s, ModulusGraphSink& graph) {
    const int slots = branch.runLength() + 1;
    const double sizeValue = std::trunc(textToNumber(s.sectionSizePercent) * slots * 0.01);
    if (!(sizeValue >= 1)) {
        refuse(ctx, outcome,
               "The section size leaves no point in a section, so the modulus along the branch cannot be "
               "calculated. Choose a larger Section Size.");
        return;
    }
    if (sizeValue > branch.copied) {
        refuse(ctx, outcome,
               "The section size is larger than the branch, so the modulus along the branch cannot be "
               "calculated. Choose a smaller Section Size.");
        return;
    }
    const int w = static_cast<int>(sizeValue);
    if (branch.rangeStart + w > branch.copied) {
        refuse(ctx, outcome,
               "The first section, taken from the Minimum of the force range, runs past the end of the "
               "branch. Choose a smaller Section Size or a lower Minimum.");
        return;
    }
    const PowerLawFit overall =
        fitPowerLaw(branch.depth.data() + branch.rangeStart, branch.force.data() + branch.rangeStart, w);
    if (!overall.accepted) {
        refuse(ctx, outcome,
               "The power-law fit of the section at the Minimum of the force range found no solution "
               "with an exponent of 1 or more, so the modulus along the branch cannot be calculated.");
        return;
    }
    // The depth at which the overall fit reaches the branch's maximum force.
    const float hP = static_cast<float>(std::pow(branch.pMaxMn / overall.a, 1.0 / overall.m) + overall.hf);

    IndentationInputs in = modulusInputs(s, branch);
    in.hMaxNm = hP;
    const SectionSeries series =
        computeSectionSeries(branch.depth.data(), branch.force.data(), slots, w, in,
                             textToNumber(s.bottomPercent), textToNumber(s.topPercent), 0, ctx.progress);
    if (series.stopped) {
        return;
    }
    if (series.anySection) {
        ctx.curve.results = series.lastResults;
        outcome.resultsComputed = true;
    }
    std::vector<double> x, y;
    double smallest = 9e9;
    for (const SectionPoint& point : series.points) {
        x.push_back(point.depthNm);
        y.push_back(point.modulusGPa);
        smallest = std::min(smallest, point.depthNm);
    }
    if (s.zeroStartDepth == 1 && !x.empty()) {
        for (double& value : x) {
            value -= smallest;
        }
    }
    const int owner = ctx.set.curveIndex[at(branch.clicked)];
    if (graph.seriesCount() < kSeriesCapacity && owner >= 0 && owner < ctx.set.curveCount()) {
        const CurveInfo& info = ctx.set.curves[at(owner)];
        graph.setNextSeriesStyle(info.colour, info.style, info.size);
    }
    graph.setBoldText(ctx.style.boldText);
    graph.setFontHeight(ctx.style.fontSize + 8);
    graph.AddSeries(x.data(), y.data(), static_cast<int>(x.size()));
    graph.redrawAndShow();
    outcome.seriesAdded = true;
    outcome.seriesX = std::move(x);
    outcome.seriesY = std::move(y);
}

}  // namespace mivaro

#include "analysis/section_modulus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "analysis_fakes.h"
#include "baseline_power_law_fit.h"

namespace mivaro {
namespace {

constexpr Rgb kCurveColour = makeRgb(10, 20, 30);

// A long unloading branch (points 8 .. 8 + count - 1) for the section analysis.
struct SectionFlow : ::testing::Test {
    void build(int unloadCount) {
        test::IndentationShape shape;
        shape.unloadCount = unloadCount;
        shape.unloadTo = 210;
        test::appendIndentation(f.set, "s.MVR", kCurveColour, shape);
        f.curve.settingsDirectory = "/nonexistent-dir/";
    }
    FlowOutcome run(const ModulusSettings& s) {
        BranchSelection b = selectBranch(f.ctx, 10);
        return performBranchAction(f.ctx, b, s, kActionSection, f.graph);
    }
    ModulusSettings settings() const {
        ModulusSettings s;
        s.forceMinPercent = 0;
        return s;
    }
    test::FlowFixture f;
};

TEST_F(SectionFlow, SeriesMatchesTheStraightforwardSerialComputation) {
    build(200);
    BranchSelection b = selectBranch(f.ctx, 10);
    copyBranch(f.set, b);
    const int slots = b.runLength() + 1;
    const int w = static_cast<int>(std::trunc(15.0 * slots * 0.01));
    EXPECT_EQ(w, 30);  // 200 points: sections of 30, at most 170 starts
    IndentationInputs in;
    in.Es = 70;
    in.Vs = 0.17f;
    in.Ei = 1141;
    in.Vi = 0.07f;
    in.C0 = 24.56f;
    in.pMaxMn = b.pMaxMn;
    in.hMaxNm = 420;
    const auto expected = baseline::sectionSeries(b.depth.data(), b.force.data(), slots, w, 0, 0, 0.17f, 1141,
                                                  0.07f, 24.56f, 0, b.pMaxMn, 420, 20, 95);
    ASSERT_FALSE(expected.empty());
    EXPECT_LE(expected.size(), 170u);
    for (unsigned threads : {1u, 2u, 3u}) {
        const SectionSeries series =
            computeSectionSeries(b.depth.data(), b.force.data(), slots, w, in, 20, 95, threads);
        ASSERT_EQ(series.points.size(), expected.size()) << threads;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(series.points[i].depthNm, expected[i].first);
            EXPECT_NEAR(series.points[i].modulusGPa, expected[i].second,
                        1e-6 * std::fabs(expected[i].second));
        }
    }
}

TEST_F(SectionFlow, QualifyingSectionsAndHandOver) {
    build(100);
    f.ctx.style.fontSize = 12;
    f.ctx.style.boldText = 0;
    const FlowOutcome out = run(settings());
    EXPECT_TRUE(out.seriesAdded);
    EXPECT_FALSE(out.text.has_value());
    EXPECT_TRUE(f.texts.lines.empty());
    ASSERT_EQ(f.graph.count, 1);
    EXPECT_EQ(f.graph.colours, std::vector<Rgb>{kCurveColour});
    EXPECT_EQ(f.graph.styles, std::vector<int>{2});
    EXPECT_EQ(f.graph.sizes, std::vector<int>{3});
    EXPECT_EQ(f.graph.bold, 0);
    EXPECT_EQ(f.graph.fontHeight, 20);
    EXPECT_EQ(f.graph.shows, 1);
    // Every point's section starts in (20 %, 95 %] of Pmax; x is the centre depth.
    BranchSelection b = selectBranch(f.ctx, 10);
    copyBranch(f.set, b);
    const int w = static_cast<int>(15.0 * 101 * 0.01);
    std::vector<double> centres;
    for (int q = 0; q < 101 - w - 1; ++q) {
        const double force = b.force[static_cast<std::size_t>(q)];
        if (force > 0.2 * b.pMaxMn && force <= 0.95 * b.pMaxMn) {
            centres.push_back(b.depth[static_cast<std::size_t>(q + w / 2)]);
        }
    }
    EXPECT_EQ(out.seriesX, centres);
    EXPECT_EQ(f.graph.xs[0], centres);
    EXPECT_TRUE(out.resultsComputed);
    EXPECT_EQ(static_cast<double>(f.curve.results.Es), out.seriesY.back());
    // Every section is evaluated at the depth where the fit of the first w points reaches Pmax
    // (with epsilon 0 that depth is the contact depth).
    const PowerLawFit overall = fitPowerLaw(b.depth.data(), b.force.data(), w);
    const float hP = static_cast<float>(std::pow(b.pMaxMn / overall.a, 1.0 / overall.m) + overall.hf);
    EXPECT_EQ(f.curve.results.hc, static_cast<double>(hP));
}

TEST_F(SectionFlow, ZeroStartDepthAndTheEleventhSeries) {
    build(100);
    ModulusSettings s = settings();
    s.zeroStartDepth = 1;
    for (int i = 0; i < 11; ++i) {
        run(s);
    }
    EXPECT_EQ(f.graph.count, 10);
    EXPECT_EQ(f.graph.colours.size(), 10u);  // no slot attributes once ten series are present
    EXPECT_EQ(f.graph.shows, 11);
    EXPECT_EQ(*std::min_element(f.graph.xs[0].begin(), f.graph.xs[0].end()), 0.0);

    // No qualifying section: the series is added empty.
    s.topPercent = "0.5";
    s.bottomPercent = "0";
    test::RecordingGraph fresh;
    BranchSelection b = selectBranch(f.ctx, 10);
    const FlowOutcome out = performBranchAction(f.ctx, b, s, kActionSection, fresh);
    EXPECT_EQ(fresh.count, 1);
    EXPECT_TRUE(fresh.xs[0].empty());
    EXPECT_FALSE(out.resultsComputed);
}

TEST_F(SectionFlow, SectionSizesThatLeaveNoDataAreRefused) {
    build(40);
    struct Case {
        const char* size;
        float minPercent;
        const char* why;
    };
    const std::vector<Case> cases{
        {"1", 0, "no point"},  // trunc(0.01 * 41) = 0
        {"abc", 0, "no point"},
        {"120", 0, "larger than the branch"},
        {"60", 60, "runs past the end"},  // k near the top, k + w beyond the copied points
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        ModulusSettings s = settings();
        s.sectionSizePercent = c.size;
        s.forceMinPercent = c.minPercent;
        f.messages.texts.clear();
        const FlowOutcome out = run(s);
        EXPECT_TRUE(out.refused);
        EXPECT_FALSE(out.seriesAdded);
        ASSERT_EQ(f.messages.texts.size(), 1u);
        EXPECT_NE(f.messages.texts[0].find(c.why), std::string::npos) << f.messages.texts[0];
    }
    EXPECT_EQ(f.graph.count, 0);
}

TEST_F(SectionFlow, OverallFitWithoutSolutionIsRefused) {
    // Forces that fall with depth: no candidate with m >= 1.
    test::appendCurve(f.set, "flat.MVR", {'T', 'U', 'U', 'U', 'U', 'U', 'U', 'U', 'U', 'U'},
                      {100, 99, 98, 97, 96, 95, 94, 93, 92, 91},
                      {10, 9, 9.2f, 9.4f, 9.6f, 9.8f, 9.9f, 9.95f, 9.99f, 9.995f},
                      {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    ModulusSettings s = settings();
    s.sectionSizePercent = "50";
    BranchSelection b = selectBranch(f.ctx, 3);
    const FlowOutcome out = performBranchAction(f.ctx, b, s, kActionSection, f.graph);
    EXPECT_TRUE(out.refused);
    EXPECT_EQ(f.graph.count, 0);
}

// Reports progress and asks to stop once `stopAt` sections are done (never with -1).
struct ScriptedProgress : ProgressPort {
    int stopAt = -1;
    int total = -1, last = 0, ends = 0;
    void begin(const std::string&, int n) override { total = n; }
    bool advance(int done) override {
        last = done;
        return stopAt < 0 || done < stopAt;
    }
    void end() override { ++ends; }
};

TEST_F(SectionFlow, ProgressChangesNothingAndStoppingAddsNoSeries) {
    build(400);
    const FlowOutcome plain = run(settings());
    ScriptedProgress progress;
    f.ctx.progress = &progress;
    const FlowOutcome reported = run(settings());
    EXPECT_EQ(reported.seriesX, plain.seriesX);
    EXPECT_EQ(reported.seriesY, plain.seriesY);
    EXPECT_EQ(progress.last, progress.total);
    EXPECT_EQ(progress.ends, 1);

    const IndentationResults before = f.curve.results;
    const int series = f.graph.count;
    progress.stopAt = 10;
    const FlowOutcome stopped = run(settings());
    EXPECT_FALSE(stopped.seriesAdded);
    EXPECT_FALSE(stopped.resultsComputed);
    EXPECT_EQ(f.graph.count, series);
    EXPECT_EQ(std::memcmp(&f.curve.results, &before, sizeof before), 0);
    EXPECT_LT(progress.last, progress.total);
    EXPECT_EQ(progress.ends, 2);
}

}  // namespace
}  // namespace mivaro

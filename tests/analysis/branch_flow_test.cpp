#include "analysis/branch_flow.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/hardness_flow.h"
#include "analysis/indentation_analysis.h"
#include "analysis/rate_flow.h"
#include "analysis_fakes.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

namespace fs = std::filesystem;
using test::appendIndentation;

constexpr Rgb kRed = makeRgb(200, 0, 0);
constexpr int kUnloadFirst = 8, kUnloadLast = 19, kReloadFirst = 22, kReloadLast = 27;

class BranchFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::path(MIVARO_BINARY_DIR) / "branch_flow_test" /
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        f.curve.settingsDirectory = m_dir.string() + "/";
        appendIndentation(f.set, "/data/run/sample1.MVR", kRed);
        dialog.set = &f.set;
    }
    bool settingsWritten() const { return fs::exists(m_dir / "curve_setup.par"); }

    fs::path m_dir;
    test::FlowFixture f;
    test::ScriptedModulusDialog dialog;
};

TEST_F(BranchFlow, CancelRestoresColourAndWritesNothing) {
    f.set.colour[kUnloadFirst + 3] = makeRgb(1, 2, 3);  // the clicked point's own colour wins
    dialog.action = kActionCancelled;
    const FlowOutcome out = runBranchFlow(f.ctx, kUnloadFirst + 3, dialog, &f.graph);
    // While the dialog was open the run showed blue, and only the run.
    for (int i = 0; i < f.set.pointCount(); ++i) {
        const bool inRun = i >= kUnloadFirst && i <= kUnloadLast;
        EXPECT_EQ(dialog.coloursWhileOpen[static_cast<std::size_t>(i)] == kBranchColour, inRun) << i;
        EXPECT_EQ(f.set.colour[static_cast<std::size_t>(i)], inRun ? makeRgb(1, 2, 3) : kRed) << i;
    }
    EXPECT_EQ(dialog.shownTitle, "sample1.MVR");
    EXPECT_EQ(dialog.shownBranch, "Unloading Curve");
    EXPECT_EQ(f.repaint.requests, 2);
    EXPECT_FALSE(out.text.has_value());
    EXPECT_TRUE(f.texts.lines.empty());
    EXPECT_FALSE(settingsWritten());
}

TEST_F(BranchFlow, ModulusTextFollowsTypedPrecisionAndSolveFor) {
    struct Case {
        int solveFor;
        const char* es;
        const char* vs;
        const char* label;
        const char* unit;
        int precision;
    };
    const std::vector<Case> cases{
        {0, "70.0", "0.17", "Es = ", "GPa", 2},    // Vs and Vi typed with two decimals
        {0, "70.125", "0.17", "Es = ", "GPa", 3},  // an Es typed with three decimals counts even when solved
        {1, "70", "0.2", "Vs = ", "", 2},         {2, "70.0", "0.3", "Ei = ", "GPa", 2},
        {3, "70.0", "0.3", "Vi = ", "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ModulusSettings s;
        s.solveFor = c.solveFor;
        s.Es = c.es;
        s.Vs = c.vs;
        s.forceMinPercent = 0;
        s.forceMaxPercent = 150;  // every copied point is used
        ASSERT_TRUE(writeModulusSettings(f.curve.settingsDirectory, s));
        f.texts.lines.clear();
        const FlowOutcome out = runBranchFlow(f.ctx, kUnloadFirst + 5, dialog, &f.graph);
        ASSERT_TRUE(out.text.has_value());
        ASSERT_EQ(f.texts.lines.size(), 1u);
        EXPECT_EQ(dialog.shownSettings, s);
        // The value is the analysis of the unload in ascending depth order.
        std::vector<double> h, p;
        for (int i = kUnloadLast; i >= kUnloadFirst; --i) {
            h.push_back(f.set.depth[static_cast<std::size_t>(i)]);
            p.push_back(f.set.force[static_cast<std::size_t>(i)]);
        }
        IndentCurve expected;
        AnalyseIndentation(expected, h.data(), p.data(), static_cast<int>(h.size()), 0, 0, textToNumber(c.es),
                           textToNumber(c.vs), 1141, 0.07f, 24.56f, 0, 0, 0, f.set.force[kUnloadFirst],
                           f.set.depth[kUnloadFirst]);
        const float values[] = {expected.results.Es, expected.results.Vs, expected.results.Ei,
                                expected.results.Vi};
        EXPECT_EQ(f.texts.lines[0], formatC("%s %.*f %s", c.label, c.precision,
                                            static_cast<double>(values[c.solveFor]), c.unit));
        EXPECT_EQ(f.curve.results.Es, expected.results.Es);
    }
}

TEST_F(BranchFlow, ColoursBlueRunAndGreenForceRangeAndSavesSettings) {
    ModulusSettings s;
    s.forceMinPercent = 20;
    s.forceMaxPercent = 80;
    dialog.keepOpened = false;
    dialog.answer = s;
    runBranchFlow(f.ctx, kUnloadFirst, dialog, &f.graph);
    const double pMax = f.set.force[kUnloadFirst];
    for (int i = kUnloadFirst; i <= kUnloadLast; ++i) {
        const double force = f.set.force[static_cast<std::size_t>(i)];
        const bool inRange = force >= 20 * pMax * 0.01 && force <= 80 * pMax * 0.01;
        EXPECT_EQ(f.set.colour[static_cast<std::size_t>(i)], inRange ? kForceRangeColour : kBranchColour)
            << i;
    }
    EXPECT_EQ(f.set.colour[kUnloadFirst - 1], kRed);
    EXPECT_EQ(readModulusSettings(f.curve.settingsDirectory), s);
    EXPECT_GE(f.repaint.requests, 2);
}

TEST_F(BranchFlow, ForceRangeUsesPointsFromKUpToTheOneBeforeE) {
    BranchSelection b = selectBranch(f.ctx, kUnloadFirst + 2);
    EXPECT_EQ(b.runFirst, kUnloadFirst);
    EXPECT_EQ(b.runLast, kUnloadLast);
    EXPECT_EQ(b.pMaxMn, f.set.force[kUnloadFirst]);
    EXPECT_EQ(b.hMaxNm, f.set.depth[kUnloadFirst]);
    copyBranch(f.set, b);
    ASSERT_EQ(b.copied, 12);
    EXPECT_EQ(b.depth.size(), 13u);
    EXPECT_EQ(b.depth[12], 0.0);  // the spare slot stays 0
    for (int i = 1; i < b.copied; ++i) {
        EXPECT_LT(b.depth[static_cast<std::size_t>(i - 1)], b.depth[static_cast<std::size_t>(i)]);
    }
    struct Case {
        float minPercent, maxPercent;
        int k, n;
    };
    const auto firstAtOrAbove = [&](double limit) {
        int i = 0;
        while (i < b.copied && b.force[static_cast<std::size_t>(i)] < limit) {
            ++i;
        }
        return i;
    };
    const double pMax = b.pMaxMn;
    const int k40 = firstAtOrAbove(0.4 * pMax), e70 = firstAtOrAbove(0.7 * pMax);
    const std::vector<Case> cases{
        {40, 70, k40, e70 - k40 - 1},
        {0, 150, 0, 12},  // no point reaches hi: e = L + 1, every copied unload
                          // point is used
        {40, 40.0001f, k40, 0},
        {100, 100, -1, 0},
        {150, 200, b.copied, 0},
    };
    for (const Case& c : cases) {
        ModulusSettings s;
        s.forceMinPercent = c.minPercent;
        s.forceMaxPercent = c.maxPercent;
        selectForceRange(f.ctx, b, s);
        if (c.k >= 0) {
            EXPECT_EQ(b.rangeStart, c.k) << c.minPercent;
        }
        EXPECT_EQ(b.rangeCount, c.n) << c.minPercent;
    }
}

TEST_F(BranchFlow, EmptyForceRangeIsRefusedWithoutText) {
    ModulusSettings s;
    s.forceMinPercent = 150;
    s.forceMaxPercent = 200;
    ASSERT_TRUE(writeModulusSettings(f.curve.settingsDirectory, s));
    for (int action : {kActionModulus, kActionEquation}) {
        dialog.action = action;
        const FlowOutcome out = runBranchFlow(f.ctx, kUnloadFirst + 1, dialog, &f.graph);
        EXPECT_TRUE(out.refused);
        EXPECT_FALSE(out.text.has_value());
    }
    EXPECT_TRUE(f.texts.lines.empty());
    ASSERT_EQ(f.messages.texts.size(), 2u);
    EXPECT_EQ(f.messages.captions[0], "Error");
    EXPECT_NE(f.messages.texts[0].find("force range"), std::string::npos);
}

TEST_F(BranchFlow, ReloadCopiesForwardFromThePointBeforeIt) {
    BranchSelection b = selectBranch(f.ctx, kReloadFirst + 2);
    EXPECT_EQ(b.letter, 'R');
    copyBranch(f.set, b);
    ASSERT_EQ(b.copied, 7);
    EXPECT_EQ(b.depth[0], f.set.depth[kReloadFirst - 1]);
    EXPECT_EQ(b.depth[6], f.set.depth[kReloadLast]);
    dialog.action = kActionModulus;
    runBranchFlow(f.ctx, kReloadFirst, dialog, &f.graph);
    EXPECT_EQ(dialog.shownBranch, "Reloading Curve");
}

TEST_F(BranchFlow, UnloadCopyDoesNotDependOnTheClickedPoint) {
    // The first unloading points still creep deeper than the hold.
    f.set.depth[kUnloadFirst] = 426.0f;
    f.set.depth[kUnloadFirst + 1] = 425.5f;
    std::vector<std::string> texts;
    for (int clicked : {kUnloadFirst, kUnloadFirst + 1, kUnloadLast}) {
        const FlowOutcome out = runBranchFlow(f.ctx, clicked, dialog, &f.graph);
        ASSERT_TRUE(out.text.has_value()) << clicked;
        texts.push_back(*out.text);
    }
    EXPECT_EQ(texts[0], texts[1]);
    EXPECT_EQ(texts[0], texts[2]);
}

TEST_F(BranchFlow, RunsStopAtTheCurveEnds) {
    // A second curve that starts with an unload directly after the first curve's reload
    // and a first curve that begins with a reload: no run reaches across or before.
    test::FlowFixture g;
    test::appendCurve(g.set, "a.MVR", {'L', 'R', 'R'}, {10, 20, 30}, {1, 2, 3}, {0, 1, 2});
    test::appendCurve(g.set, "b.MVR", {'R', 'R', 'U', 'U'}, {40, 50, 45, 40}, {4, 5, 4, 3}, {0, 1, 2, 3});
    BranchSelection reload = selectBranch(g.ctx, 3);
    EXPECT_EQ(reload.runFirst, 3);
    EXPECT_EQ(reload.runLast, 4);
    copyBranch(g.set, reload);
    EXPECT_EQ(reload.copied, 2);  // no point before the run inside its curve
    EXPECT_EQ(reload.depth[0], 40.0);
    BranchSelection first = selectBranch(g.ctx, 2);
    EXPECT_EQ(first.runLast, 2);
    BranchSelection unload = selectBranch(g.ctx, 6);
    EXPECT_EQ(unload.runFirst, 5);
    EXPECT_EQ(unload.runLast, 6);
}

TEST_F(BranchFlow, EquationUsesLabelDecimals) {
    ModulusSettings s;
    s.forceMinPercent = 0;
    s.forceMaxPercent = 150;
    ASSERT_TRUE(writeModulusSettings(f.curve.settingsDirectory, s));
    dialog.action = kActionEquation;
    f.ctx.style.labelDecimals = 3;
    const FlowOutcome out = runBranchFlow(f.ctx, kUnloadFirst, dialog, &f.graph);
    const IndentationResults& r = f.curve.results;
    ASSERT_TRUE(out.text.has_value());
    EXPECT_EQ(*out.text, formatC("P = %.3f (h - %.3f)^%.3f", r.a, r.hf, r.m));
    // The unload follows P = 10 ((h - 200) / 225)^1.5.
    EXPECT_NEAR(r.m, 1.5, 0.03);
    EXPECT_NEAR(r.hf, 200, 3.0);
}

TEST_F(BranchFlow, FlowsIgnorePointsTheyDoNotHandle) {
    test::ScriptedHardnessDialog hardness;
    test::ScriptedLoadingDialog loading;
    loading.shown = "not asked";
    const std::vector<Rgb> colours = f.set.colour;
    for (int point : {-1, 1000, 2, kUnloadLast + 1}) {  // outside, a loading point, a bottom-hold point
        SCOPED_TRACE(point);
        dialog.shownBranch = "not asked";
        EXPECT_FALSE(runBranchFlow(f.ctx, point, dialog, &f.graph).text.has_value());
        EXPECT_EQ(dialog.shownBranch, "not asked");
        EXPECT_FALSE(runHardnessFlow(f.ctx, point, hardness).text.has_value());
    }
    EXPECT_FALSE(runLoadingFlow(f.ctx, kUnloadFirst, loading).text.has_value());
    EXPECT_EQ(loading.shown, "not asked");
    EXPECT_EQ(f.set.colour, colours);
    EXPECT_EQ(f.repaint.requests, 0);
    EXPECT_TRUE(f.messages.texts.empty());
}

// P = 1e-4 h^2 exactly, area pi h^2: the fit lands on hf = 0, m = 2, so
// Er = sqrt(pi) a / sqrt(C0) * 1e6 = 100 GPa, checked by hand.
TEST(BranchFlowByHand, ModulusTextsOfAnIdealUnload) {
    struct Case {
        int solveFor;
        const char* text;
    };
    const std::vector<Case> cases{
        {0, "Es =  100.00 GPa"},  // Vs = Vi = 0 and a rigid indenter: Es = Er
        {1, "Vs =  0.55 "},       // sqrt(1 - 70 / 100): the empty unit leaves a trailing blank
    };
    for (const Case& c : cases) {
        test::FlowFixture f;
        std::vector<char> seg{'T'};
        std::vector<float> h{200}, p{4}, t{0};
        for (int i = 0; i <= 20; ++i) {
            const double depth = 200 - 5 * i;
            seg.push_back('U');
            h.push_back(static_cast<float>(depth));
            p.push_back(static_cast<float>(1e-4 * depth * depth));
            t.push_back(static_cast<float>(i + 1));
        }
        test::appendCurve(f.set, "ideal.MVR", seg, h, p, t);
        ModulusSettings s;
        s.C0 = "3.14159265";
        s.Es = "70.0";
        s.Vs = "0.00";
        s.Ei = "1e30";
        s.Vi = "0.0";
        s.solveFor = c.solveFor;
        s.forceMinPercent = 0;
        s.forceMaxPercent = 150;
        BranchSelection b = selectBranch(f.ctx, 5);
        const FlowOutcome out = performBranchAction(f.ctx, b, s, kActionModulus, f.graph);
        EXPECT_EQ(out.text, c.text);
        EXPECT_NEAR(f.curve.results.Er, 100.0, 1e-4);
        EXPECT_NEAR(f.curve.results.hf, 0.0, 1e-9);
    }
}

}  // namespace
}  // namespace mivaro

#include "analysis/hardness_flow.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/indentation_analysis.h"
#include "analysis_fakes.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

namespace fs = std::filesystem;

constexpr Rgb kRed = makeRgb(200, 0, 0);
constexpr int kBefore = 4, kHoldFirst = 5, kHoldLast = 7, kAfter = 8, kLastAboveHalf = 12;

class HardnessFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::path(MIVARO_BINARY_DIR) / "hardness_flow_test" /
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        f.curve.settingsDirectory = m_dir.string() + "/";
        test::appendIndentation(f.set, "sample.MVR", kRed);
        dialog.answer.C0 = "24.5";
        dialog.answer.C1 = "0.125";
        dialog.answer.D0 = "26.43";
        dialog.answer.D1 = "0";
        dialog.answer.formula = 1;
    }
    std::size_t at(int i) const { return static_cast<std::size_t>(i); }

    fs::path m_dir;
    test::FlowFixture f;
    test::ScriptedHardnessDialog dialog;
};

TEST_F(HardnessFlow, SelectsHoldAndUpperUnloadingInMagenta) {
    const HoldSelection hold = selectHold(f.ctx, 6);
    EXPECT_EQ(hold.holdFirst, kHoldFirst);
    EXPECT_EQ(hold.holdLast, kHoldLast);
    EXPECT_EQ(hold.before, kBefore);
    EXPECT_EQ(hold.after, kAfter);
    EXPECT_EQ(hold.pMaxMn, 10.0f);
    EXPECT_EQ(hold.hMaxNm, 410.0f);
    EXPECT_EQ(hold.lastCopied, kLastAboveHalf);
    ASSERT_EQ(hold.depth.size(), 5u);
    EXPECT_GT(hold.depth.front(), hold.depth.back());  // point order: descending depth
    for (int i = 0; i < f.set.pointCount(); ++i) {
        const bool selected = i >= kHoldFirst && i <= kLastAboveHalf;
        EXPECT_EQ(f.set.colour[at(i)], selected ? kHardnessColour : kRed) << i;
    }
    EXPECT_EQ(f.repaint.requests, 1);
}

TEST_F(HardnessFlow, CancelGivesTheCurveColourBackAndWritesNothing) {
    f.set.colour[at(kBefore)] = makeRgb(0, 255, 0);
    dialog.accept = false;
    const FlowOutcome out = runHardnessFlow(f.ctx, kHoldLast, dialog);
    for (int i = kBefore; i <= kLastAboveHalf; ++i) {
        EXPECT_EQ(f.set.colour[at(i)], kRed) << i;
    }
    EXPECT_FALSE(out.text.has_value());
    EXPECT_FALSE(fs::exists(m_dir / "hardness_setup.par"));
    EXPECT_EQ(f.repaint.requests, 2);
}

TEST_F(HardnessFlow, ResultTextsByFormulaWithPrecisionAndHoldTime) {
    std::vector<double> h, p;
    for (int i = kAfter; i <= kLastAboveHalf; ++i) {
        h.push_back(f.set.depth[at(i)]);
        p.push_back(f.set.force[at(i)]);
    }
    IndentCurve expected;
    AnalyseIndentation(expected, h.data(), p.data(), 5, 0, 0, 0, 0, 0, 0, 24.5f, 0.125f, 26.43f, 0, 10, 410);
    const IndentationResults& r = expected.results;
    struct Case {
        int formula;
        int includeHold;
        std::string text;
    };
    const std::vector<Case> cases{
        {0, 0, formatC("HM =  %.3f N/mm\u00b2", static_cast<double>(r.HM))},
        {1, 0, formatC("HV =  %.3f kgf/mm\u00b2", static_cast<double>(r.HV))},
        {2, 0, formatC("HRA =  %.3f ", static_cast<double>(r.HRA))},
        {1, 1, formatC("HV =  %.3f kgf/mm\u00b2  4.00 s", static_cast<double>(r.HV))},  // 4 s from s to f
    };
    for (const Case& c : cases) {
        dialog.answer.formula = c.formula;
        dialog.answer.includeHoldTime = c.includeHold;
        const FlowOutcome out = runHardnessFlow(f.ctx, kHoldFirst, dialog);
        ASSERT_TRUE(out.text.has_value());
        EXPECT_EQ(*out.text, c.text);
        EXPECT_EQ(f.curve.results.HV, r.HV);
        EXPECT_EQ(readHardnessSettings(f.curve.settingsDirectory), dialog.answer);
    }
    runHardnessFlow(f.ctx, kHoldFirst, dialog);
    EXPECT_EQ(dialog.shown, dialog.answer);  // the dialog opens with what OK saved
    EXPECT_EQ(f.texts.lines.size(), 5u);
    EXPECT_EQ(f.set.colour[at(kHoldFirst)], kHardnessColour);  // magenta stays after a result
}

TEST_F(HardnessFlow, RefusesWithoutFormulaOrUnloadingData) {
    dialog.answer.formula = -1;
    FlowOutcome out = runHardnessFlow(f.ctx, kHoldFirst, dialog);
    EXPECT_TRUE(out.refused);

    // A curve that ends in its hold, followed by another curve: nothing after the hold is used.
    test::FlowFixture g;
    test::appendCurve(g.set, "a.MVR", {'L', 'T', 'T'}, {10, 20, 21}, {1, 5, 5}, {0, 1, 2});
    test::appendCurve(g.set, "b.MVR", {'U', 'U'}, {30, 20}, {8, 7}, {0, 1});
    const HoldSelection hold = selectHold(g.ctx, 2);
    EXPECT_EQ(hold.after, -1);
    EXPECT_TRUE(hold.depth.empty());
    EXPECT_EQ(g.set.colour[3], 0u);
    dialog.answer.formula = 0;
    out = performHardness(g.ctx, hold, dialog.answer);
    EXPECT_TRUE(out.refused);
    EXPECT_TRUE(g.texts.lines.empty());
    ASSERT_EQ(g.messages.texts.size(), 1u);
    EXPECT_NE(g.messages.texts[0].find("half of the maximum force"), std::string::npos);
}

TEST_F(HardnessFlow, HoldAtCurveStartAndTiesKeepTheFirstPointFound) {
    test::FlowFixture g;
    // Equal highest forces: forward scan from the clicked point finds index 1 first.
    // The unloading data stop at the first force at or below half of Pmax, even if a later one rises.
    test::appendCurve(g.set, "a.MVR", {'T', 'T', 'T', 'U', 'U', 'U', 'U'}, {100, 101, 102, 90, 80, 60, 70},
                      {9, 10, 10, 8, 6, 2, 9}, {0, 1, 2, 3, 4, 5, 6});
    const HoldSelection hold = selectHold(g.ctx, 1);
    EXPECT_EQ(hold.before, -1);
    EXPECT_EQ(hold.hMaxNm, 101.0f);
    EXPECT_EQ(hold.depth.size(), 2u);  // 8 and 6 mN lie above 5; 2 mN does not
    HardnessSettings s = dialog.answer;
    s.includeHoldTime = 1;
    const FlowOutcome out = performHardness(g.ctx, hold, s);
    ASSERT_TRUE(out.text.has_value());
    EXPECT_NE(out.text->find("  3.00 s"), std::string::npos);  // from the first hold point
}

// HM = Pmax / (D0 hmax^2) 1e9 = 4 / 40000 * 1e9 with D0 = 1: checked by hand.
TEST(HardnessFlowByHand, MartensHardnessOfAnIdealUnload) {
    test::FlowFixture f;
    test::appendCurve(f.set, "ideal.MVR", {'L', 'T', 'T', 'U', 'U', 'U', 'U'},
                      {100, 199, 200, 190, 180, 170, 140}, {1, 3.999f, 4, 3.61f, 3.24f, 2.89f, 1.96f},
                      {0, 1, 2.5f, 3, 4, 5, 6});
    HardnessSettings s;
    s.C0 = "3.14";
    s.D0 = "1";
    s.formula = 0;
    s.includeHoldTime = 1;
    const HoldSelection hold = selectHold(f.ctx, 1);
    const FlowOutcome out = performHardness(f.ctx, hold, s);
    EXPECT_EQ(out.text, "HM =  100000.00 N/mm\u00b2  3.00 s");
}

}  // namespace
}  // namespace mivaro

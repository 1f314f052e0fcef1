#include "analysis/rate_flow.h"

#include <gtest/gtest.h>

#include "analysis/branch_flow.h"
#include "analysis_fakes.h"

namespace mivaro {
namespace {

TEST(LoadingFlow, ActionsGiveLabelOrRates) {
    struct Case {
        const char* name;
        int action;
        bool editLabel;
        int clicked;
        int decimals;
        std::optional<std::string> text;
    };
    const std::vector<Case> cases{
        {"rate from the run start", kLoadingRate, false, 2, 2, "0.50 mN/s"},
        {"displacement rate", kLoadingDisplacementRate, false, 2, 1, "40.0 nm/s"},
        {"label as opened", kLoadingLabel, false, 1, 2, "sample.MVR"},
        {"edited label", kLoadingLabel, true, 1, 2, "my curve"},
        {"cancel", kLoadingNone, false, 1, 2, std::nullopt},
        {"first point of the run: refused", kLoadingRate, false, 0, 2, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FlowFixture f;
        test::appendCurve(f.set, "C:\\tests\\sample.MVR", {'L', 'L', 'L', 'T'}, {0, 30, 80, 81},
                          {0, 0.4f, 1, 1.1f}, {0, 1, 2, 3}, makeRgb(9, 9, 9));
        f.ctx.style.labelDecimals = c.decimals;
        test::ScriptedLoadingDialog dialog;
        dialog.answer = {"my curve", c.action};
        dialog.editLabel = c.editLabel;
        const FlowOutcome out = runLoadingFlow(f.ctx, c.clicked, dialog);
        EXPECT_EQ(dialog.shown, "sample.MVR");
        EXPECT_EQ(out.text, c.text);
        EXPECT_EQ(f.texts.lines.size(), c.text ? 1u : 0u);
        EXPECT_EQ(out.refused, c.clicked == 0);
        EXPECT_EQ(f.messages.texts.size(), c.clicked == 0 ? 1u : 0u);
        EXPECT_EQ(f.set.colour[0], makeRgb(9, 9, 9));  // colours untouched
        EXPECT_FALSE(out.resultsComputed);
    }
}

TEST(LoadingFlow, RunStartsAtTheClickedCurvesFirstPoint) {
    test::FlowFixture f;
    test::appendCurve(f.set, "a.MVR", {'L', 'L'}, {0, 10}, {0, 5}, {0, 1});
    test::appendCurve(f.set, "b.MVR", {'L', 'L', 'L'}, {0, 10, 20}, {1, 2, 3}, {10, 11, 12});
    const FlowOutcome out = performLoadingAction(f.ctx, 4, {"", kLoadingRate});
    EXPECT_EQ(out.text, "1.00 mN/s");  // (3 - 1) / (12 - 10), not from the previous curve
}

TEST(BranchRates, RunOfUnloadAndReloadEndsAtTheClickedPoint) {
    test::FlowFixture f;
    test::appendCurve(f.set, "a.MVR", {'L', 'T', 'U', 'U', 'U', 'R', 'R'}, {0, 100, 95, 90, 85, 88, 92},
                      {0, 10, 8, 6, 4, 5, 6}, {0, 1, 2, 3, 4, 5, 7});
    test::appendCurve(f.set, "b.MVR", {'U', 'U'}, {90, 80}, {6, 4}, {9, 9});
    struct Case {
        int clicked;
        bool forceRate;
        std::optional<std::string> text;
    };
    const std::vector<Case> cases{
        {4, true, "-2.00 mN/s"},  // (4 - 8) / (4 - 2): signed
        {4, false, "-5.00 nm/s"},
        {6, true, "-0.40 mN/s"},   // a reload right after the unload belongs to the same run
        {2, true, std::nullopt},   // the first point of the run: 0 / 0, refused
        {8, false, std::nullopt},  // equal times: no time span, refused
    };
    for (const Case& c : cases) {
        f.messages.texts.clear();
        FlowOutcome out;
        branchRateAction(f.ctx, out, c.clicked, c.forceRate);
        EXPECT_EQ(out.text, c.text) << c.clicked;
        EXPECT_EQ(out.refused, !c.text) << c.clicked;
        if (!c.text) {
            EXPECT_EQ(f.messages.texts, std::vector<std::string>{kZeroTimeSpanRate});
            EXPECT_EQ(f.messages.captions.back(), "Error");
        }
    }
}

}  // namespace
}  // namespace mivaro

#include "view/graph_clicks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/analysis_fakes.h"
#include "platform/c_format.h"
#include "view/point_pick.h"
#include "view/recording_surface.h"

namespace mivaro {
namespace {

namespace fs = std::filesystem;

// A plot of 1000 x 1000 pixels over 0..1000 on both axes: a point at
// (depth d, force f) is drawn at pixel (d, 1000 - f).
PlotMapping squareMapping() {
    ViewSettings settings;
    settings.x = AxisScale{0, 0, 0, 0, 1000, 100};
    settings.y = AxisScale{0, 0, 0, 0, 1000, 100};
    PlotLayout layout;
    layout.plotRight = 1000;
    layout.plotBottom = 1000;
    return PlotMapping(settings, layout);
}

struct Pt {
    int px, py;
    char letter = 'L';
    int curve = 0;
};

CurveSet setOf(const std::vector<Pt>& points) {
    CurveSet set;
    set.curves.push_back(CurveInfo{});
    for (const Pt& p : points) {
        set.depth.push_back(static_cast<float>(p.px));
        set.force.push_back(static_cast<float>(1000 - p.py));
        set.time.push_back(0);
        set.segment.push_back(p.letter);
        set.curveIndex.push_back(p.curve);
        set.colour.push_back(0);
    }
    return set;
}

TEST(PointPick, ClickRuleAndNearestRule) {
    struct Case {
        const char* what;
        std::vector<Pt> points;
        int x, y;
        int clicked;  // pickClickedPoint, -1 for nothing
        int nearest;  // pickNearestPoint
    };
    const std::vector<Case> cases{
        {"9.9 pixels away is taken", {{100, 100}}, 107, 107, 0, 0},
        {"10 pixels away is not", {{100, 100}}, 110, 100, -1, -1},
        {"no points", {}, 5, 5, -1, -1},
        {"equal distances: the earlier wins", {{100, 100}, {110, 100}}, 105, 100, 0, 0},
        {"the end of a hold before a closer unloading point",
         {{95, 100, 'T'}, {100, 100, 'T'}, {106, 100, 'U'}},
         104,
         100,
         1,
         2},
        {"an earlier closer point keeps the hold end from winning",
         {{104, 103, 'L'}, {100, 100, 'T'}, {106, 100, 'U'}},
         104,
         100,
         2,
         2},
        {"the first point closer than 2 pixels wins", {{101, 100}, {100, 100}}, 100, 100, 0, 1},
        {"a point of curve -1 is never taken", {{100, 100, 'U', -1}, {105, 100}}, 100, 100, 1, 1},
        {"a point outside the axis ranges is taken", {{-3, 1004}}, 0, 1000, 0, 0},
    };
    const PlotMapping mapping = squareMapping();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CurveSet set = setOf(c.points);
        EXPECT_EQ(pickClickedPoint(set, mapping, c.x, c.y).value_or(-1), c.clicked);
        EXPECT_EQ(pickNearestPoint(set, mapping, c.x, c.y).value_or(-1), c.nearest);
    }
}

TEST(ClickDispatch, LetterDecidesTheFlow) {
    const std::vector<std::pair<char, ClickFlow>> table{
        {'L', ClickFlow::Loading}, {'T', ClickFlow::Hardness}, {'U', ClickFlow::Branch},
        {'R', ClickFlow::Branch},  {'B', ClickFlow::None},     {'X', ClickFlow::None},
        {'?', ClickFlow::None},
    };
    for (const auto& [letter, flow] : table) {
        EXPECT_EQ(clickFlowFor(letter), flow) << letter;
    }
}

// A document with one load-hold-unload-hold-reload curve on the main graph,
// answered by scripted dialogs.
class GraphClicks : public ::testing::Test {
  protected:
    // Point indices of the curve made by appendIndentation.
    static constexpr int kLoad = 2, kHold = 6, kUnload = 12, kBottom = 20, kReload = 24;

    void SetUp() override {
        m_dir = fs::path(MIVARO_BINARY_DIR) / "graph_clicks_test" /
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        doc = std::make_unique<CMivaro4Doc>(m_dir.string() + "/", messages, repaint);
        test::appendIndentation(doc->curveSet(), "/data/sample.MVR", makeRgb(0, 0, 0));
        modulus.action = kActionModulus;
        hardness.answer.formula = 1;
        loading.answer.action = kLoadingLabel;
        clicks = std::make_unique<GraphClickCommands>(
            graph, *doc, GraphClickCommands::Ports{&messages, &repaint, nullptr, dialogs()});
    }
    ClickDialogs dialogs() { return ClickDialogs{&loading, &hardness, &modulus, &modulusGraph}; }
    void paint() {
        RecordingSurface surface(800, 600);
        graph.paint(surface, GraphData{doc->curveSet(), doc->indentCurve().nameCount()});
    }
    ClickReport releaseOn(int point) {
        const PlotMapping mapping(graph.settings(), graph.layout());
        const auto k = static_cast<std::size_t>(point);
        return clicks->leftRelease(mapping.px(doc->curveSet().depth[k]),
                                   mapping.py(doc->curveSet().force[k]));
    }

    fs::path m_dir;
    test::RecordingMessages messages;
    test::CountingRepaint repaint;
    std::unique_ptr<CMivaro4Doc> doc;
    MainGraph graph;
    test::ScriptedModulusDialog modulus;
    test::ScriptedHardnessDialog hardness;
    test::ScriptedLoadingDialog loading;
    test::RecordingGraph modulusGraph;
    std::unique_ptr<GraphClickCommands> clicks;
};

TEST_F(GraphClicks, EachLetterOpensItsDialogAndTheTextWaitsForTheNextPress) {
    paint();
    struct Case {
        int point;
        const char* textStart;  // nullptr: no dialog, no text
    };
    const std::vector<Case> cases{
        {kLoad, "sample.MVR"}, {kHold, "HV = "}, {kUnload, "Es = "}, {kReload, "Es = "}, {kBottom, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point);
        modulus.shownBranch.clear();
        loading.shown.clear();
        hardness.shown.C0.clear();
        const ClickReport report = releaseOn(c.point);
        EXPECT_EQ(report.point, c.point);
        EXPECT_EQ(report.outcome.text.has_value(), c.textStart != nullptr);
        const bool asked =
            !modulus.shownBranch.empty() || !loading.shown.empty() || !hardness.shown.C0.empty();
        EXPECT_EQ(asked, c.textStart != nullptr);
        if (c.textStart == nullptr) {
            EXPECT_FALSE(graph.textList().placing());
            continue;
        }
        EXPECT_EQ(report.outcome.text->rfind(c.textStart, 0), 0u) << *report.outcome.text;
        ASSERT_TRUE(graph.textList().placing());
        // The press places the text; its release starts nothing, even on a curve point.
        EXPECT_TRUE(graph.textList().leftPress(10, 10));
        modulus.shownBranch.clear();
        const ClickReport placing = releaseOn(kUnload);
        EXPECT_TRUE(placing.endedPlacement);
        EXPECT_FALSE(placing.point.has_value());
        EXPECT_TRUE(modulus.shownBranch.empty());
    }
    EXPECT_EQ(graph.textList().count(), 4);
    EXPECT_TRUE(modulus.shownGraphAvailable);
}

TEST_F(GraphClicks, HintSaysWhatAReleaseThereWouldStartAndChangesNothing) {
    EXPECT_EQ(clicks->hintAt(100, 100), "");  // no paint yet
    paint();
    const PlotMapping mapping(graph.settings(), graph.layout());
    const CurveSet& set = doc->curveSet();
    const std::vector<Rgb> colours = set.colour;
    const int repaints = repaint.requests;
    struct Case {
        int point;
        const char* hint;  // with the index of the point the release takes
    };
    const std::vector<Case> cases = {
        {kLoad, "Loading point %d of sample.MVR: left click for the label and rates"},
        {kHold, "Top hold point %d of sample.MVR: left click for the hardness"},
        {kUnload, "Unloading point %d of sample.MVR: left click for the modulus"},
        {kReload, "Reloading point %d of sample.MVR: left click for the modulus"},
        {kBottom, ""},
    };
    for (const Case& c : cases) {
        const auto k = static_cast<std::size_t>(c.point);
        const int x = mapping.px(set.depth[k]);
        const int y = mapping.py(set.force[k]);
        const std::optional<int> taken = clicks->pointAt(x, y);
        ASSERT_TRUE(taken.has_value());
        EXPECT_EQ(clicks->hintAt(x, y), *c.hint == 0 ? std::string() : formatC(c.hint, *taken)) << c.point;
    }
    EXPECT_EQ(clicks->hintAt(graph.layout().plotRight - 1, graph.layout().plotTop + 1), "");
    EXPECT_EQ(set.colour, colours);
    EXPECT_EQ(repaint.requests, repaints);
    EXPECT_EQ(modulus.shownTitle, "");
    // While a result waits, the release only places it.
    graph.textList().beginTextPlacement("Es = 70 GPa");
    const auto k = static_cast<std::size_t>(kUnload);
    EXPECT_EQ(clicks->hintAt(mapping.px(set.depth[k]), mapping.py(set.force[k])), "");
}

TEST_F(GraphClicks, NothingBeforeThePaintAndSettingsOnlyWhereSaved) {
    EXPECT_FALSE(releaseOn(kUnload).point.has_value());  // no paint yet: no mapping
    paint();
    // Each release below starts afresh: the waiting text is abandoned first.
    auto release = [this](int point) {
        graph.textList().rightPress();
        return releaseOn(point);
    };
    clicks->setSaveSettings(false);
    EXPECT_TRUE(release(kUnload).outcome.text.has_value());
    EXPECT_TRUE(release(kHold).outcome.text.has_value());
    EXPECT_TRUE(fs::is_empty(m_dir));
    clicks->setSaveSettings(true);
    release(kUnload);
    release(kHold);
    EXPECT_TRUE(fs::exists(m_dir / "curve_setup.par"));
    EXPECT_TRUE(fs::exists(m_dir / "hardness_setup.par"));

    // Without a modulus graph the dialog is told the section action is not offered.
    clicks->ports().dialogs.modulusGraph = nullptr;
    release(kUnload);
    EXPECT_FALSE(modulus.shownGraphAvailable);
}

}  // namespace
}  // namespace mivaro

#include "view/right_click_editing.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "view/curve_painter.h"
#include "view/main_graph.h"
#include "view_test_support.h"

namespace mivaro {
namespace {

using test::addCurve;

// A graph painted once at 800 x 600 with the given curves, as the window
// would show it; the routing then works on that picture's geometry.
struct PaintedGraph {
    CurveSet curves;
    MainGraph graph;
    std::string xTitle = "nm";
    std::string yTitle = "mN";

    void paint() {
        RecordingSurface surface(ClientRect{0, 0, 800, 600});
        graph.paint(surface, GraphData{curves, 1, xTitle, yTitle});
    }
    RightClickTargets at(int x, int y) const {
        return routeRightRelease(curves, graph.settings(), graph.layout(), x, y);
    }
};

// Scripted dialogs: record the order they open in and answer from a script.
struct ScriptedEditing : CurveStyleDialogPort, GraphDialogPort {
    std::vector<std::string> opened;
    std::optional<CurveStyleValues> styleAnswer;
    std::optional<AxisDialogValues> axisAnswer;
    std::optional<AxisTitlesValues> titlesAnswer;
    CurveStyleValues styleShown;

    std::optional<CurveStyleValues> askCurveStyle(const CurveStyleValues& values) override {
        opened.push_back("Curve Style");
        styleShown = values;
        return styleAnswer;
    }
    std::optional<AxisDialogValues> askXAxis(const AxisDialogValues&) override {
        opened.push_back("X Axis");
        return axisAnswer;
    }
    std::optional<AxisDialogValues> askYAxis(const AxisDialogValues&) override {
        opened.push_back("Y Axis");
        return axisAnswer;
    }
    std::optional<AxisTitlesValues> askAxisTitles(const AxisTitlesValues&) override {
        opened.push_back("Axis Titles");
        return titlesAnswer;
    }
};

// The worked example: one curve to 1000 nm and 10 mN; (500 nm, 5 mN) is drawn
// at (415, 299), plotBottom is 528, plotLeft 162. A last point (600 nm,
// 0.1 mN) lies at (466, 523), inside the x axis band.
PaintedGraph workedExample() {
    PaintedGraph g;
    std::vector<std::pair<float, float>> points;
    for (int k = 0; k <= 10; ++k) {
        points.emplace_back(100.0f * k, 1.0f * k);
    }
    points.emplace_back(600.0f, 0.1f);
    addCurve(g.curves, points);
    g.paint();
    return g;
}

TEST(RightClickRouting, EachTestStandsOnItsOwnWithStrictEdges) {
    PaintedGraph g = workedExample();
    const PlotLayout& layout = g.graph.layout();
    ASSERT_EQ(layout.plotBottom, 528);
    ASSERT_EQ(layout.plotLeft, 162);
    struct Case {
        int x, y;
        bool point, xAxis, yAxis, titles;
    };
    const int xTitleY = layout.xTitleBox.top + 1;
    const int yTitleY = (layout.yTitleBox.top + layout.yTitleBox.bottom) / 2;
    const std::vector<Case> cases = {
        {415 + 9, 299, true, false, false, false},    // 9 pixels from (500, 5)
        {415 + 10, 299, false, false, false, false},  // 10 pixels: not picked
        {466, 523, true, true, false, false},         // a point inside the x axis band
        {600, 528 - 10, false, false, false, false},  // the band's top edge is outside
        {600, 528 - 9, false, true, false, false},   {600, 528 + 9, false, true, false, false},
        {162 + 9, 300, false, false, true, false},   {162 - 10, 300, false, false, false, false},
        {441, xTitleY, false, false, false, true},   {60, yTitleY, false, false, false, true},
        {15, 15, false, false, false, false},  // the corner box opens nothing
    };
    for (const Case& c : cases) {
        const RightClickTargets t = g.at(c.x, c.y);
        EXPECT_EQ(t.point.has_value(), c.point) << c.x << "," << c.y;
        EXPECT_EQ(t.xAxis, c.xAxis) << c.x << "," << c.y;
        EXPECT_EQ(t.yAxis, c.yAxis) << c.x << "," << c.y;
        EXPECT_EQ(t.titles, c.titles) << c.x << "," << c.y;
    }
}

TEST(RightClickEditing, APointOnTheAxisBandOpensBothDialogsInTurn) {
    PaintedGraph g = workedExample();
    ScriptedEditing dialogs;
    int repaints = 0;
    const RightClickContext context{
        g.curves, g.graph.settings(), g.graph.layout(), g.xTitle, g.yTitle, dialogs, dialogs, [&] {
            ++repaints;
            g.paint();
        }};
    // Cancel in both changes nothing and repaints nothing.
    const ViewSettings before = g.graph.settings();
    editAtRightRelease(context, 466, 523);
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"Curve Style", "X Axis"}));
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(g.graph.settings().x.autoMax, before.x.autoMax);
    EXPECT_EQ(dialogs.styleShown.size, 1);

    dialogs.opened.clear();
    dialogs.styleAnswer = CurveStyleValues{};
    dialogs.styleAnswer->style = CIRCLE;
    dialogs.styleAnswer->size = 3;
    dialogs.styleAnswer->pickedColour = makeRgb(255, 0, 0);
    dialogs.axisAnswer = AxisDialogValues{0, 0, 1, 100, 2000, 0, 4};
    editAtRightRelease(context, 466, 523);
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"Curve Style", "X Axis"}));
    EXPECT_EQ(repaints, 2);
    const CurveInfo& curve = g.curves.curves[0];
    EXPECT_EQ(curve.style, CIRCLE);
    EXPECT_EQ(curve.size, 3);
    EXPECT_EQ(curve.colour, makeRgb(255, 0, 0));
    for (Rgb colour : g.curves.colour) {
        EXPECT_EQ(colour, makeRgb(255, 0, 0));
    }
    const ViewSettings& s = g.graph.settings();
    EXPECT_EQ(s.x.autoMin, 0);
    EXPECT_EQ(s.x.max, 2000.0f);
    EXPECT_EQ(s.labelDecimals, 4);
    EXPECT_EQ(s.y.autoMax, 1);  // the y axis was not asked
}

TEST(RightClickEditing, TitlesDialogWritesFontBoldAndBothTitles) {
    PaintedGraph g = workedExample();
    ScriptedEditing dialogs;
    dialogs.titlesAnswer = AxisTitlesValues{0, 0, "Depth (nm)", "Force (mN)"};
    const RightClickContext context{
        g.curves, g.graph.settings(), g.graph.layout(), g.xTitle, g.yTitle, dialogs, dialogs, nullptr};
    editAtRightRelease(context, 441, g.graph.layout().xTitleBox.top + 1);
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"Axis Titles"}));
    EXPECT_EQ(g.xTitle, "Depth (nm)");
    EXPECT_EQ(g.yTitle, "Force (mN)");
    EXPECT_EQ(g.graph.settings().boldText, 0);
    // Font size 0 (typed "abc") draws with a cell of 8 pixels.
    g.paint();
    EXPECT_EQ(g.graph.layout().lineHeight, 8);
}

TEST(CurveStyleApply, RemovingCurveZeroKeepsCurveOneAsItWas) {
    CurveSet set;
    addCurve(set, {{1, 1}, {2, 2}, {3, 3}});
    addCurve(set, {{10, 10}, {20, 20}}, SQUARE, 4, makeRgb(0, 0, 255));
    CurveStyleValues remove = curveStyleValues(set, 0);
    remove.remove = true;
    applyCurveStyle(set, 0, remove);
    EXPECT_EQ(set.curves[0].size, -1);
    ASSERT_EQ(set.pointCount(), 2);
    EXPECT_EQ(set.curveIndex, (std::vector<int>{1, 1}));
    EXPECT_EQ(set.depth, (std::vector<float>{10, 20}));
    EXPECT_EQ(set.force.size(), 2u);
    EXPECT_EQ(set.time.size(), 2u);
    EXPECT_EQ(set.segment.size(), 2u);
    EXPECT_EQ(set.colour, (std::vector<Rgb>{makeRgb(0, 0, 255), makeRgb(0, 0, 255)}));
    EXPECT_EQ(set.curves[1].style, SQUARE);
    EXPECT_EQ(set.curves[1].size, 4);
    EXPECT_EQ(set.curves[1].colour, makeRgb(0, 0, 255));
}

TEST(CurveStyleApply, ListTextsThatNameNoItemKeepThePreviousValue) {
    struct Case {
        const char* text;
        int expected;
    };
    for (const Case& c : {Case{"3", 3}, Case{" 6 ", 6}, Case{"7", 2}, Case{"", 2}, Case{"-1", 2}}) {
        EXPECT_EQ(listChoice(c.text, markerSizeItems(), 2), c.expected) << c.text;
    }
    EXPECT_EQ(listChoice("Circle Solid", markerStyleItems(), 0), CIRCLE_SOLID);
    EXPECT_EQ(listChoice("Triangle", markerStyleItems(), SQUARE), SQUARE);
}

}  // namespace
}  // namespace mivaro

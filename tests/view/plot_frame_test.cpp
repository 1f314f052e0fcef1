#include "view/plot_frame.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/c_format.h"
#include "view/curve_painter.h"
#include "view/main_graph.h"
#include "view_test_support.h"

namespace mivaro {
namespace {

using test::addCurve;
using test::Op;
using test::textsAligned;

std::string formatLabel(double v) {
    return formatC("%.2f", v);
}

struct Painted {
    MainGraph graph;
    RecordingSurface surface;

    explicit Painted(int width = 800, int height = 600) : surface(width, height) {}

    void paint(const CurveSet& set, const std::string& xTitle = "nm", const std::string& yTitle = "mN") {
        surface.clearRecords();
        surface.clearPixels();
        graph.paint(surface, GraphData{set, 0, xTitle, yTitle});
    }

    // Labels of one axis: x labels are centred, y labels right-aligned.
    std::vector<RecordingSurface::Record> xLabels() const {
        auto found = textsAligned(surface, TextAlign::Centre);
        // The x title and the rotated y title are centred too.
        std::erase_if(found, [&](const auto& r) {
            return r.font.rotationDeg != 0 ||
                   r.y != graph.layout().plotBottom + graph.layout().lineHeight / 3;
        });
        return found;
    }
    std::vector<RecordingSurface::Record> yLabels() const { return textsAligned(surface, TextAlign::Right); }
};

TEST(PlotFrame, LayoutOfTheDefaultWindow) {
    Painted p;
    CurveSet empty;
    p.paint(empty);
    const PlotLayout& l = p.graph.layout();
    EXPECT_EQ(l.lineHeight, 24);
    EXPECT_EQ(l.charWidth, 9);
    EXPECT_EQ(l.plotLeft, 162);
    EXPECT_EQ(l.plotTop, 26);
    EXPECT_EQ(l.plotRight, 720);
    EXPECT_EQ(l.plotBottom, 528);
    EXPECT_TRUE(l.frameDrawn);
    EXPECT_EQ(l.xAxisBand, (Box{162, 518, 720, 538}));
    EXPECT_EQ(l.yAxisBand, (Box{152, 26, 172, 528}));

    // Labels 8 pixels below the x axis and 9 left of the y axis.
    ASSERT_FALSE(p.xLabels().empty());
    EXPECT_EQ(p.xLabels()[0].y, 536);
    EXPECT_EQ(p.yLabels()[0].x, 153);

    // x title: centred on the plot, top at 564; y title rotated at (48, 251).
    bool xTitle = false;
    bool yTitle = false;
    for (const auto& r : p.surface.recordsOf(Op::Text)) {
        if (r.text == "nm") {
            xTitle = true;
            EXPECT_EQ(r.x, 441);
            EXPECT_EQ(r.y, 564);
            EXPECT_EQ(r.font.rotationDeg, 0);
        }
        if (r.text == "mN") {
            yTitle = true;
            EXPECT_EQ(r.x, 48);
            EXPECT_EQ(r.y, 251);
            EXPECT_EQ(r.font.rotationDeg, 90);
            EXPECT_EQ(r.align, TextAlign::Centre);
        }
    }
    EXPECT_TRUE(xTitle && yTitle);
    // Graph font: Arial, cell height 24, bold by default; horizontal again at the end.
    const auto fonts = p.surface.recordsOf(Op::SelectFont);
    ASSERT_FALSE(fonts.empty());
    EXPECT_EQ(fonts.back().font, (FontChoice{"Arial", 24, 700, 0}));
}

TEST(PlotFrame, WorkedExampleTicksLabelsAndPoint) {
    CurveSet set;
    addCurve(set, {{0, 0}, {500, 5}, {1000, 10}}, SQUARE_SOLID, 0);
    Painted p;
    p.paint(set);
    const ViewSettings& s = p.graph.settings();
    EXPECT_FLOAT_EQ(s.x.max, 1100);
    EXPECT_FLOAT_EQ(s.x.major, 110);
    EXPECT_FLOAT_EQ(s.y.max, 11);
    EXPECT_EQ(s.y.major, static_cast<float>(1.1));

    const int xs[] = {162, 217, 273, 329, 385, 441, 496, 552, 608, 664, 720};
    const int ys[] = {528, 477, 427, 377, 327, 276, 226, 176, 126, 76, 25};
    const auto xl = p.xLabels();
    const auto yl = p.yLabels();
    ASSERT_EQ(xl.size(), 11u);
    ASSERT_EQ(yl.size(), 11u);
    for (int k = 0; k < 11; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(xl[k].x, xs[k]);
        EXPECT_EQ(xl[k].text, formatLabel(110.0 * k));
        EXPECT_EQ(yl[k].y, ys[k] - 12);
        EXPECT_EQ(yl[k].text, formatLabel(1.1 * k));
        // Tick marks: down from the x axis by h/4, left of the y axis by h/4.
        EXPECT_NE(p.surface.pixel(xs[k], 530), RecordingSurface::kWhite);
        EXPECT_NE(p.surface.pixel(157, ys[k]), RecordingSurface::kWhite);
    }
    EXPECT_EQ(xl.back().text, "1100.00");
    EXPECT_EQ(yl.back().text, "11.00");

    const PlotMapping map(s, p.graph.layout());
    EXPECT_EQ(map.px(500), 415);
    EXPECT_EQ(map.py(5), 299);
    // The marker of size 0 is the single pixel at the mapped point.
    EXPECT_EQ(p.surface.pixel(415, 299), makeRgb(0, 0, 0));
}

TEST(PlotFrame, EmptyGraphRunsFromZeroTo1001WithElevenTicks) {
    for (bool leftOut : {false, true}) {
        SCOPED_TRACE(leftOut);
        CurveSet set;
        if (leftOut) {
            // Points exist but none is part of the graph: same ranges as empty.
            addCurve(set, {{5000, 70}, {6000, 80}});
            std::fill(set.curveIndex.begin(), set.curveIndex.end(), -1);
        }
        Painted p;
        p.paint(set);
        EXPECT_FLOAT_EQ(p.graph.settings().x.max, 1.001f);
        EXPECT_FLOAT_EQ(p.graph.settings().y.max, 1.001f);
        EXPECT_EQ(p.graph.settings().x.min, 0);
        const auto xl = p.xLabels();
        const auto yl = p.yLabels();
        ASSERT_EQ(xl.size(), 11u);
        ASSERT_EQ(yl.size(), 11u);
        EXPECT_EQ(xl.front().text, "0.00");
        EXPECT_EQ(xl[1].text, "0.10");
        EXPECT_EQ(xl.back().text, "1.00");
        EXPECT_EQ(yl.back().text, "1.00");
    }
}

TEST(PlotFrame, SizeTestHidesFrameAndCurvesButNotTexts) {
    struct Case {
        int width, height;
        bool drawn;
    };
    // trunc(0.9 * 292) - 162 = 100; 198 - 72 - 26 = 100.
    const Case cases[] = {{292, 600, true}, {291, 600, false}, {800, 198, true}, {800, 197, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        CurveSet set;
        addCurve(set, {{0, 0}, {500, 5}, {1000, 10}});
        Painted p(c.width, c.height);
        p.graph.textList().beginTextPlacement("note");
        p.graph.textList().leftPress(5, 5);
        p.paint(set);
        EXPECT_EQ(p.graph.layout().frameDrawn, c.drawn);
        const auto texts = p.surface.recordsOf(Op::Text);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.front().text, "note");
        EXPECT_EQ(texts.size() == 1, !c.drawn);
        EXPECT_EQ(p.surface.recordsOf(Op::LineTo).empty(), !c.drawn);
    }
}

TEST(PlotFrame, FailedSizeTestKeepsPreviousHitBoxes) {
    CurveSet set;
    Painted big;
    big.paint(set);
    const PlotLayout before = big.graph.layout();
    RecordingSurface small(200, 150);
    big.graph.paint(small, GraphData{set, 0, "nm", "mN"});
    EXPECT_EQ(big.graph.layout().yAxisBand, before.yAxisBand);
    EXPECT_EQ(big.graph.layout().xTitleBox, before.xTitleBox);
    EXPECT_EQ(big.graph.layout().yTitleBox, before.yTitleBox);
    EXPECT_NE(big.graph.layout().xAxisBand, before.xAxisBand);  // stored before the test

    // Ranges follow the data before the size test; the major units are only
    // worked out while the axes are drawn.
    CurveSet data;
    addCurve(data, {{1000, 10}});
    big.graph.paint(small, GraphData{data, 0, "nm", "mN"});
    EXPECT_FLOAT_EQ(big.graph.settings().x.max, 1100);
    EXPECT_FLOAT_EQ(big.graph.settings().x.major, 1.001f / 10);
    EXPECT_FLOAT_EQ(big.graph.settings().y.major, 1.001f / 10);
}

TEST(PlotFrame, UserMajorUnitEndsTheAxisLineAtTheLastTick) {
    CurveSet set;
    Painted p;
    AxisScale& x = p.graph.settings().x;
    x = AxisScale{0, 0, 0, 0, 10, 3};
    p.paint(set);
    const auto xl = p.xLabels();
    ASSERT_EQ(xl.size(), 4u);
    EXPECT_EQ(xl[3].text, "9.00");
    const int tick9 = PlotMapping(p.graph.settings(), p.graph.layout()).px(9);
    EXPECT_EQ(xl[3].x, tick9);
    // The axis line (two pixels thick) stops before the tick at 9.
    EXPECT_NE(p.surface.pixel(tick9 - 1, 528), RecordingSurface::kWhite);
    EXPECT_EQ(p.surface.pixel(tick9 + 1, 528), RecordingSurface::kWhite);
    EXPECT_EQ(p.surface.pixel(700, 528), RecordingSurface::kWhite);
}

TEST(PlotFrame, LabelDecimalsApplyToBothAxes) {
    CurveSet set;
    addCurve(set, {{1000, 10}});
    Painted p;
    p.graph.settings().labelDecimals = 0;
    p.paint(set);
    EXPECT_EQ(p.xLabels()[1].text, "110");
    EXPECT_EQ(p.yLabels()[1].text, "1");
    p.graph.settings().labelDecimals = 4;
    p.paint(set);
    EXPECT_EQ(p.xLabels()[1].text, "110.0000");
    EXPECT_EQ(p.yLabels()[1].text, "1.1000");
}

TEST(PlotFrame, ZeroLinesOnlyForNegativeMinima) {
    CurveSet set;
    Painted p;
    ViewSettings& s = p.graph.settings();
    s.x = AxisScale{0, 0, 1, -100, 100, 0};
    s.y = AxisScale{0, 0, 1, -1, 1, 0};
    p.paint(set);
    const PlotMapping map(s, p.graph.layout());
    const int zeroX = map.px(0);
    const int zeroY = map.py(0);
    EXPECT_EQ(zeroX, 441);
    EXPECT_EQ(zeroY, 277);
    // Vertical line over the whole plot height, horizontal over its width.
    EXPECT_NE(p.surface.pixel(zeroX, 100), RecordingSurface::kWhite);
    EXPECT_NE(p.surface.pixel(300, zeroY), RecordingSurface::kWhite);
    EXPECT_NE(p.surface.pixel(715, zeroY), RecordingSurface::kWhite);

    s.x.min = 0;
    s.y.min = 0;
    p.paint(set);
    EXPECT_EQ(p.surface.pixel(zeroX, 100), RecordingSurface::kWhite);
    EXPECT_EQ(p.surface.pixel(300, zeroY), RecordingSurface::kWhite);
}

TEST(PlotFrame, TitleBoxesGrowWithTheTitles) {
    CurveSet set;
    struct Case {
        std::string title;
        int half;  // (n/2 + 1) * cw
    };
    const Case cases[] = {{"", 9}, {"m", 9}, {"mN", 18}, {"mNx", 18}, {"Force mN", 45}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Painted p;
        p.paint(set, c.title, c.title);
        EXPECT_EQ(p.graph.layout().yTitleBox, (Box{48, 251 - c.half, 72, 251 + c.half}));
        EXPECT_EQ(p.graph.layout().xTitleBox, (Box{441 - c.half, 564, 441 + c.half, 588}));
    }
}

TEST(PlotFrame, LargerFontEnlargesTheMargins) {
    CurveSet set;
    Painted p;
    p.graph.settings().fontSize = 32;  // h = 40, cw = 16
    p.paint(set);
    const PlotLayout& l = p.graph.layout();
    EXPECT_EQ(l.plotLeft, 18 * 16);
    EXPECT_EQ(l.plotTop, 44);
    EXPECT_EQ(l.plotBottom, 600 - 3 * 40);
    EXPECT_EQ(p.yLabels()[0].x, l.plotLeft - 16);
}

TEST(PlotFrame, CornerBoxAndStrictHitTests) {
    EXPECT_TRUE(kCornerBox.contains(1, 1));
    EXPECT_TRUE(kCornerBox.contains(29, 29));
    EXPECT_FALSE(kCornerBox.contains(0, 10));
    EXPECT_FALSE(kCornerBox.contains(10, 30));
}

// Unusable major units and ranges must still give a short, sensible tick list.
TEST(TickValues, DegenerateSettingsStayFinite) {
    struct Case {
        const char* name;
        AxisScale axis;
        int divisions;
        std::vector<double> expected;  // empty: only the count is checked
        std::size_t count;
    };
    const float nan = std::nanf("");
    const float inf = INFINITY;
    const Case cases[] = {
        {"user major 3", {0, 0, 0, 0, 10, 3}, 10, {0, 3, 6, 9}, 4},
        {"zero major falls back to divisions", {0, 0, 0, 0, 10, 0}, 10, {}, 11},
        {"negative major", {0, 0, 0, 0, 10, -2}, 5, {0, 2, 4, 6, 8, 10}, 6},
        {"NaN major", {0, 0, 0, 0, 10, nan}, 10, {}, 11},
        {"tiny major on 0..1000", {0, 0, 0, 0, 1000, 1e-6f}, 10, {}, 11},
        {"max equals min", {0, 0, 0, 5, 5, 0}, 10, {5}, 1},
        {"zero divisions", {0, 0, 0, 0, 10, 0}, 0, {}, 11},
        {"min above max", {0, 0, 0, 10, 5, 1}, 10, {}, 0},
        {"infinite max", {0, 0, 0, 0, inf, 1}, 10, {}, 0},
        {"NaN min", {0, 0, 0, nan, 10, 1}, 10, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto ticks = tickValues(c.axis, c.divisions);
        EXPECT_EQ(ticks.size(), c.count);
        if (!c.expected.empty()) {
            ASSERT_EQ(ticks.size(), c.expected.size());
            for (std::size_t k = 0; k < ticks.size(); ++k) {
                EXPECT_NEAR(ticks[k], c.expected[k], 1e-9);
            }
        }
    }
}

TEST(TickValues, DegenerateRangesPaintWithoutCurvesOrHang) {
    CurveSet set;
    addCurve(set, {{0, 0}, {0, 0}}, SQUARE_SOLID, 1);  // largest depth and force 0: max == min
    Painted p;
    p.paint(set);
    EXPECT_EQ(p.graph.settings().x.max, 0);
    EXPECT_EQ(p.xLabels().size(), 1u);
    EXPECT_EQ(p.yLabels().size(), 1u);
    EXPECT_TRUE(p.surface.recordsOf(Op::PixelRun).empty());
}

TEST(PlotMapping, TruncatesTowardZeroAndClampsFarValues) {
    ViewSettings s;
    s.x = AxisScale{0, 0, 0, 0, 1100, 110};
    s.y = AxisScale{0, 0, 0, 0, 11, 1.1f};
    PlotLayout l;
    layOutPlot(s, ClientRect{0, 0, 800, 600}, l);
    const PlotMapping map(s, l);
    EXPECT_EQ(map.px(1100), 720);
    EXPECT_EQ(map.px(-1), 161);    // 161.49 truncated
    EXPECT_EQ(map.px(-300), 9);    // 9.8 truncated
    EXPECT_EQ(map.px(-400), -40);  // -40.9 truncated toward zero, not down
    EXPECT_EQ(map.px(1e30), kPixelLimit);
    EXPECT_EQ(map.py(-1e30), kPixelLimit);
    EXPECT_TRUE(map.visible(0, 0));
    EXPECT_FALSE(map.visible(1100, 5));
    EXPECT_FALSE(map.visible(500, 11));
    EXPECT_FALSE(map.visible(std::nan(""), 5));
}

}  // namespace
}  // namespace mivaro

// The modulus graph's paint against the geometry of a 575 x 583 client with
// the default 20-pixel font: cw = 8, plot from (96, 22) to (511, 523).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "modgraph/xy_graph_wnd.h"
#include "view/view_test_support.h"

namespace mivaro::test {
namespace {

constexpr Rgb kRed = makeRgb(255, 0, 0);

void addSeries(CXYGraphWnd& graph, const std::vector<std::pair<double, double>>& points,
               int style = SQUARE_SOLID, int size = 2, Rgb colour = kRed) {
    std::vector<double> x, y;
    for (const auto& [px, py] : points) {
        x.push_back(px);
        y.push_back(py);
    }
    graph.setNextSeriesStyle(colour, style, size);
    graph.AddSeries(x.data(), y.data(), static_cast<int>(x.size()));
}

// Tick labels: the x ones sit t/3 under the plot, the y ones are right-aligned.
std::vector<std::string> xLabels(const RecordingSurface& s, const PlotLayout& l) {
    std::vector<std::string> labels;
    for (const auto& r : textsAligned(s, TextAlign::Centre)) {
        if (r.y == l.plotBottom + l.lineHeight / 3) {
            labels.push_back(r.text);
        }
    }
    return labels;
}
std::vector<std::string> yLabels(const RecordingSurface& s) {
    std::vector<std::string> labels;
    for (const auto& r : textsAligned(s, TextAlign::Right)) {
        labels.push_back(r.text);
    }
    return labels;
}

int pixelsOf(const RecordingSurface& s, Rgb colour) {
    int n = 0;
    for (const auto& [x, y] : s.paintedPixels()) {
        n += s.pixel(x, y) == colour ? 1 : 0;
    }
    return n;
}

TEST(XYGraphPaint, EmptyWindowRunsFromZeroWithSevenTicksEach) {
    CXYGraphWnd graph;
    RecordingSurface surface(575, 583);
    graph.paint(surface);
    const PlotLayout& l = graph.layout();
    EXPECT_EQ((Box{96, 513, 511, 533}), l.xAxisBand);
    EXPECT_EQ((Box{86, 22, 106, 523}), l.yAxisBand);
    EXPECT_EQ(0.0f, graph.settings().x.min);
    EXPECT_EQ(0.91f, graph.settings().x.max);
    EXPECT_EQ(static_cast<float>(1.1 * 0.91), graph.settings().y.max);
    // The running 32-bit float sum: the fourth tick lies just above 0.455.
    EXPECT_EQ((std::vector<std::string>{"0.00", "0.15", "0.30", "0.46", "0.61", "0.76", "0.91"}),
              xLabels(surface, l));
    EXPECT_EQ((std::vector<std::string>{"0.00", "0.17", "0.33", "0.50", "0.67", "0.83", "1.00"}),
              yLabels(surface));
    // The frame of the client, the x title under the plot, the y title at (1, H/2).
    EXPECT_EQ(0u, surface.pixel(0, 0));
    EXPECT_EQ(0u, surface.pixel(574, 582));
    const auto centred = textsAligned(surface, TextAlign::Centre);
    EXPECT_EQ("mN", centred.back().text);
    EXPECT_EQ(1, centred.back().x);
    EXPECT_EQ(250, centred.back().y);
    EXPECT_EQ(90, centred.back().font.rotationDeg);
    EXPECT_EQ((Box{1, 242, 20, 258}), l.yTitleBox);
    EXPECT_EQ((Box{295, 553, 311, 573}), l.xTitleBox);  // "nm": one character width each side
}

TEST(XYGraphPaint, WhatIsDrawnOfTheSeries) {
    struct Case {
        const char* what;
        std::vector<std::vector<std::pair<double, double>>> series;
        int yAutoMin = 1;
        float yMin = 0;
        int redMarkers;  // 5 x 5 squares in red
    };
    const Case cases[] = {
        {"first series of one point: range widened, nothing drawn",
         {{{5, 50}}, {{1, 10}, {2, 20}, {3, 30}}},
         1,
         0,
         0},
        {"the point at the automatic x maximum is left out", {{{1, 10}, {2, 20}, {3, 30}}}, 1, 0, 2},
        {"negative moduli lie under the automatic minimum 0", {{{1, -10}, {2, 20}, {3, 30}}}, 1, 0, 1},
        {"a typed negative minimum shows them, with the zero line",
         {{{1, -10}, {2, 20}, {3, 30}}},
         0,
         -20,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CXYGraphWnd graph;
        for (const auto& s : c.series) {
            addSeries(graph, s);
        }
        graph.settings().y.autoMin = c.yAutoMin;
        graph.settings().y.min = c.yMin;
        RecordingSurface surface(575, 583);
        graph.paint(surface);
        EXPECT_EQ(c.redMarkers * 25, pixelsOf(surface, kRed));
        const PlotLayout& l = graph.layout();
        const PlotMapping map(graph.settings().x, graph.settings().y, l);
        const int zeroY = map.py(0);
        EXPECT_EQ(c.yMin < 0, zeroY != l.plotBottom && surface.pixel(l.plotLeft + 50, zeroY) == 0u);
    }
    CXYGraphWnd widened;
    addSeries(widened, {{5, 50}});
    RecordingSurface surface(575, 583);
    widened.paint(surface);
    EXPECT_EQ(5.0f, widened.settings().x.max);
    EXPECT_EQ(static_cast<float>(1.1 * 50), widened.settings().y.max);
}

TEST(XYGraphPaint, TickTolerancesStrictOnXInclusiveOnY) {
    // 1.0001 x 10000 and 1.01 x 10000 are exactly 10001 and 10100.
    struct Case {
        float xMajor, yMajor;
        std::size_t xTicks, yTicks;
    };
    for (const Case& c : {Case{10001, 10100, 1, 2}, Case{10000.5f, 10100.5f, 2, 1}}) {
        CXYGraphWnd graph;
        for (AxisScale* a : {&graph.settings().x, &graph.settings().y}) {
            *a = AxisScale{0, 0, 0, 0, 10000, 0};
        }
        graph.settings().x.major = c.xMajor;
        graph.settings().y.major = c.yMajor;
        RecordingSurface surface(575, 583);
        graph.paint(surface);
        EXPECT_EQ(c.xTicks, xLabels(surface, graph.layout()).size()) << c.xMajor;
        EXPECT_EQ(c.yTicks, yLabels(surface).size()) << c.yMajor;
    }
}

TEST(XYGraphPaint, SmallestPlottableClient) {
    // Width 20 cw + 100, height 3 t + trunc(1.1 t) + 100 with t = 20.
    struct Case {
        int width, height;
        bool drawn;
    };
    for (const Case& c : {Case{260, 182, true}, Case{259, 182, false}, Case{260, 181, false}}) {
        CXYGraphWnd graph;
        addSeries(graph, {{1, 10}, {2, 20}, {3, 30}});
        RecordingSurface surface(c.width, c.height);
        graph.paint(surface);
        EXPECT_EQ(c.drawn, graph.layout().frameDrawn) << c.width << "x" << c.height;
        EXPECT_EQ(c.drawn, !surface.recordsOf(Op::Text).empty());
        EXPECT_EQ(0u, surface.pixel(0, 0));  // the frame always shows
    }
}

TEST(XYGraphPaint, DegenerateDataStillEnds) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        std::vector<std::pair<double, double>> points;
        AxisScale x;
    };
    const AxisScale automatic;
    const Case cases[] = {
        {"all depths equal", {{5, 10}, {5, 20}}, automatic},
        {"all values equal", {{5, 10}, {5, 10}}, automatic},
        {"typed major unit 0", {{1, 10}, {2, 20}}, AxisScale{1, 1, 0, 0, 0, 0}},
        {"typed negative major unit", {{1, 10}, {2, 20}}, AxisScale{1, 1, 0, 0, 0, -1}},
        {"typed maximum below minimum", {{1, 10}, {2, 20}}, AxisScale{0, 0, 1, 5, 1, 0}},
        {"a tiny major unit", {{1, 10}, {2, 20}}, AxisScale{1, 1, 0, 0, 0, 1e-30f}},
        {"not a number", {{nan, nan}, {1, 10}, {2, 20}}, automatic},
        {"infinite values", {{-inf, inf}, {1, 10}}, automatic},
        {"beyond float range", {{1e300, 1e300}, {1, 10}}, automatic},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CXYGraphWnd graph;
        addSeries(graph, c.points, LINE, 3);
        graph.settings().x = c.x;
        RecordingSurface surface(575, 583);
        graph.paint(surface);
        EXPECT_LE(surface.recordsOf(Op::Text).size(), 2u * (kMaxTicks + 1) + 2);
    }
}

TEST(XYGraphSeries, TenSlotsTheEleventhAddChangesNothing) {
    CXYGraphWnd graph;
    const double x[] = {1, 2};
    const double y[] = {3, 4};
    for (int k = 0; k < 11; ++k) {
        graph.setNextSeriesStyle(makeRgb(k, 0, 0), CIRCLE, k);
        graph.AddSeries(x, y, k == 10 ? 1 : 2);
    }
    EXPECT_EQ(10, graph.seriesCount());
    EXPECT_EQ(makeRgb(9, 0, 0), graph.series(9).colour);
    EXPECT_EQ(9, graph.series(9).markerSize);
    EXPECT_EQ(2, graph.series(9).pointCount);
    EXPECT_EQ(4.0f, graph.series(9).y[1]);
}

}  // namespace
}  // namespace mivaro::test

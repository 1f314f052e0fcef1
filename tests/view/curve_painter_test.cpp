#include "view/curve_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "view/main_graph.h"
#include "view_test_support.h"

namespace mivaro {
namespace {

using test::addCurve;
using test::Op;
using PixelSet = std::set<std::pair<int, int>>;

PixelSet markerPixels(int style, int size, int cx = 50, int cy = 50) {
    RecordingSurface surface(100, 100);
    drawMarker(surface, style, size, cx, cy, makeRgb(255, 0, 0));
    const auto painted = surface.paintedPixels();
    return PixelSet(painted.begin(), painted.end());
}

PixelSet square(int cx, int cy, int s, bool outlineOnly) {
    PixelSet pixels;
    for (int y = cy - s; y <= cy + s; ++y) {
        for (int x = cx - s; x <= cx + s; ++x) {
            if (!outlineOnly || x == cx - s || x == cx + s || y == cy - s || y == cy + s) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

TEST(Markers, PixelSetsFollowThePassRules) {
    // Size 0: r = 0.5, passes at a = 0 and 1.57; the second lands just short
    // of the half pixel and truncates onto the neighbours: four pixels.
    EXPECT_EQ(markerPixels(CIRCLE, 0), (PixelSet{{49, 49}, {49, 50}, {50, 49}, {50, 50}}));
    // Size 1: r = 1.5, passes at 0, 0.523, 1.047, 1.57: an eight-pixel ring.
    const PixelSet ring{{49, 48}, {50, 48}, {48, 49}, {51, 49}, {48, 50}, {51, 50}, {49, 51}, {50, 51}};
    EXPECT_EQ(markerPixels(CIRCLE, 1), ring);
    // The solid form fills the rows between the mirrored points: ring + centre.
    PixelSet disc = ring;
    disc.insert({{49, 49}, {50, 49}, {49, 50}, {50, 50}});
    EXPECT_EQ(markerPixels(CIRCLE_SOLID, 1), disc);
    EXPECT_EQ(markerPixels(CIRCLE_SOLID, 0), markerPixels(CIRCLE, 0));
    EXPECT_EQ(markerPixels(SQUARE, 2).size(), 16u);
    EXPECT_EQ(markerPixels(SQUARE, 2), square(50, 50, 2, true));
    EXPECT_EQ(markerPixels(SQUARE_SOLID, 2).size(), 25u);
    EXPECT_EQ(markerPixels(SQUARE_SOLID, 2), square(50, 50, 2, false));
    EXPECT_EQ(markerPixels(SQUARE, 0), (PixelSet{{50, 50}}));
    EXPECT_EQ(markerPixels(SQUARE_SOLID, 0), (PixelSet{{50, 50}}));
    // Unknown styles, LINE and negative sizes set nothing.
    EXPECT_TRUE(markerPixels(LINE, 2).empty());
    EXPECT_TRUE(markerPixels(7, 2).empty());
    EXPECT_TRUE(markerPixels(CIRCLE, -1).empty());
}

TEST(Markers, SolidCircleContainsItsOutlineForAllSizes) {
    for (int size = 0; size <= 6; ++size) {
        SCOPED_TRACE(size);
        const PixelSet solid = markerPixels(CIRCLE_SOLID, size);
        const PixelSet outline = markerPixels(CIRCLE, size);
        EXPECT_TRUE(std::includes(solid.begin(), solid.end(), outline.begin(), outline.end()));
        EXPECT_EQ(solid.count({50, 50}), 1u);
        for (const auto& [x, y] : solid) {
            EXPECT_LE(std::abs(x - 50), size + 1);
            EXPECT_LE(std::abs(y - 50), size + 1);
        }
    }
}

TEST(Markers, CircleSizeZeroNearTheOriginTruncatesTowardZero) {
    // Centre at x 0: trunc(-0.4999) is 0, not -1, so the marker stays on column 0.
    EXPECT_EQ(markerPixels(CIRCLE, 0, 0, 50), (PixelSet{{0, 49}, {0, 50}}));
}

struct Scene {
    CurveSet set;
    MainGraph graph;
    RecordingSurface surface{800, 600};

    Scene() {
        ViewSettings& s = graph.settings();
        s.x = AxisScale{0, 0, 0, 0, 1100, 110};
        s.y = AxisScale{0, 0, 0, 0, 11, 1.1f};
    }
    void paint() {
        surface.clearRecords();
        surface.clearPixels();
        graph.paint(surface, GraphData{set, 0, "nm", "mN"});
    }
    PlotMapping map() const { return PlotMapping(graph.settings(), graph.layout()); }
    // Line segments drawn in a colour, as (from, to) pairs.
    std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> lines(Rgb colour) const {
        std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> found;
        for (const auto& r : surface.recordsOf(Op::LineTo)) {
            if (r.colour == colour) {
                found.push_back({{r.x2, r.y2}, {r.x, r.y}});
            }
        }
        return found;
    }
};

const Rgb kRed = makeRgb(255, 0, 0);
const Rgb kBlue = makeRgb(0, 0, 255);

TEST(Curves, LinesBreakAtInvisiblePointsAndNeverJoinCurves) {
    Scene scene;
    // Second point lies above y.max: the line stops before it and restarts after.
    addCurve(scene.set, {{100, 1}, {200, 20}, {300, 3}, {400, 4}}, LINE, 1, kRed);
    addCurve(scene.set, {{500, 5}, {600, 6}}, LINE, 1, kBlue);
    scene.paint();
    const PlotMapping m = scene.map();
    const auto red = scene.lines(kRed);
    // Zero-length lines at each fresh start, then the one joining segment.
    ASSERT_EQ(red.size(), 3u);
    EXPECT_EQ(red[0].first, red[0].second);
    EXPECT_EQ(red[1].first, red[1].second);
    EXPECT_EQ(red[1].second, std::make_pair(m.px(300), m.py(3)));
    EXPECT_EQ(red[2].first, std::make_pair(m.px(300), m.py(3)));
    EXPECT_EQ(red[2].second, std::make_pair(m.px(400), m.py(4)));
    const auto blue = scene.lines(kBlue);
    ASSERT_EQ(blue.size(), 2u);
    EXPECT_EQ(blue[0].first, std::make_pair(m.px(500), m.py(5)));  // not from the red curve's end
    EXPECT_EQ(blue[0].first, blue[0].second);
    // The pixel where the red curve ends is not set by either line.
    EXPECT_EQ(scene.surface.pixel(m.px(400), m.py(4)), RecordingSurface::kWhite);
    EXPECT_EQ(scene.surface.pixel(m.px(300), m.py(3)), kRed);
}

TEST(Curves, UpperBoundsAreExcludedLowerBoundsIncluded) {
    struct Case {
        float depth, force;
        bool drawn;
    };
    const Case cases[] = {{0, 0, true},       {1100, 5, false},     {500, 11, false}, {1099.9f, 10.99f, true},
                          {-0.01f, 5, false}, {500, -0.001f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.depth << ", " << c.force);
        Scene scene;
        addCurve(scene.set, {{c.depth, c.force}}, SQUARE, 0, kRed);
        scene.paint();
        const bool any = !scene.surface.recordsOf(Op::PixelRun).empty();
        EXPECT_EQ(any, c.drawn);
    }
}

TEST(Curves, LeftOutPointsAndUnknownCurvesAreSkipped) {
    Scene scene;
    addCurve(scene.set, {{100, 1}, {200, 2}, {300, 3}}, LINE, 1, kRed);
    scene.set.curveIndex[1] = -1;       // the middle point is left out: the line breaks there
    scene.set.curveIndex.push_back(5);  // a point of a curve without attributes
    scene.set.depth.push_back(400);
    scene.set.force.push_back(4);
    scene.set.time.push_back(0);
    scene.set.segment.push_back('L');
    scene.set.colour.push_back(kRed);
    scene.paint();
    for (const auto& [from, to] : scene.lines(kRed)) {
        EXPECT_EQ(from, to);
    }
    EXPECT_EQ(scene.lines(kRed).size(), 2u);
}

TEST(Curves, PenWidthsAndLaterCurvesOnTop) {
    Scene scene;
    // Horizontal lines at force 5: width 0 and 1 are one pixel high, 6 is six.
    for (int width : {0, 1, 6}) {
        SCOPED_TRACE(width);
        scene.set.clear();
        addCurve(scene.set, {{100, 5}, {600, 5}}, LINE, width, kRed);
        scene.paint();
        const int x = scene.map().px(300);
        int rows = 0;
        for (int y = 0; y < 600; ++y) {
            rows += scene.surface.pixel(x, y) == kRed ? 1 : 0;
        }
        EXPECT_EQ(rows, std::max(width, 1));
    }
    // A blue square over a red one: the later curve wins the shared pixels.
    scene.set.clear();
    addCurve(scene.set, {{500, 5}}, SQUARE_SOLID, 3, kRed);
    addCurve(scene.set, {{500, 5}}, SQUARE_SOLID, 1, kBlue);
    scene.paint();
    const auto m = scene.map();
    EXPECT_EQ(scene.surface.pixel(m.px(500), m.py(5)), kBlue);
    EXPECT_EQ(scene.surface.pixel(m.px(500) + 3, m.py(5)), kRed);
}

TEST(Curves, ThinLinesLeaveOutTheirEndPixel) {
    RecordingSurface surface(20, 20);
    surface.setPen(1, kRed);
    surface.moveTo(2, 2);
    surface.lineTo(10, 6);
    EXPECT_EQ(surface.pixel(2, 2), kRed);
    EXPECT_EQ(surface.pixel(10, 6), RecordingSurface::kWhite);
    EXPECT_EQ(surface.paintedPixels().size(), 8u);  // one per column 2..9
    surface.lineTo(10, 6);
    EXPECT_EQ(surface.paintedPixels().size(), 8u);  // zero length sets nothing
}

// The end pixel rule holds for every pen width: a LINE curve with a single
// visible point shows nothing, however wide its pen.
TEST(Curves, OneVisiblePointShowsNothingAtAnyWidth) {
    for (int width : {0, 1, 2, 6}) {
        SCOPED_TRACE(width);
        Scene scene;
        addCurve(scene.set, {{500, 5}, {500, 20}}, LINE, width, kRed);
        scene.paint();
        const auto m = scene.map();
        for (int dy = -8; dy <= 8; ++dy) {
            for (int dx = -8; dx <= 8; ++dx) {
                EXPECT_NE(scene.surface.pixel(m.px(500) + dx, m.py(5) + dy), kRed);
            }
        }
    }
}

}  // namespace
}  // namespace mivaro

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "view/curve_painter.h"
#include "view/main_graph.h"
#include "view_test_support.h"

namespace mivaro {
namespace {

// Whatever the axis dialogs or a file let through, a paint ends quickly and
// stays within bounded work: no endless tick loop, no overflowing cast.
TEST(PaintRobustness, AnySettingsAndDataPaintInBoundedWork) {
    const float specials[] = {0.0f,
                              -0.0f,
                              1e-30f,
                              -5.0f,
                              1e-6f,
                              3.0f,
                              1000.0f,
                              1e30f,
                              -1e30f,
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::denorm_min()};
    std::mt19937 random(2024);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(specials) - 1);
    std::uniform_int_distribution<int> flag(0, 1);
    std::uniform_int_distribution<int> small(-3, 12);
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        MainGraph graph;
        ViewSettings& s = graph.settings();
        for (AxisScale* axis : {&s.x, &s.y}) {
            *axis = AxisScale{flag(random),           flag(random),           flag(random),
                              specials[pick(random)], specials[pick(random)], specials[pick(random)]};
        }
        s.majorDivisions = small(random);
        s.labelDecimals = small(random) * 3;
        s.fontSize = small(random) * 4;
        s.boldText = flag(random);

        CurveSet set;
        for (int c = 0; c < 3; ++c) {
            std::vector<std::pair<float, float>> points;
            for (int k = 0; k < 20; ++k) {
                points.emplace_back(specials[pick(random)], specials[pick(random)]);
            }
            test::addCurve(set, points, c + small(random), small(random));
        }
        RecordingSurface surface(400, 300);
        graph.paint(surface, GraphData{set, round % 3, "nm", "mN"});

        // At most kMaxTicks + 1 labels per axis plus titles.
        EXPECT_LE(surface.recordsOf(test::Op::Text).size(), 2u * (kMaxTicks + 1) + 2);
        for (const auto& r : surface.recordsOf(test::Op::LineTo)) {
            EXPECT_LE(std::abs(r.x), kPixelLimit);
            EXPECT_LE(std::abs(r.y), kPixelLimit);
        }
    }
}

}  // namespace
}  // namespace mivaro

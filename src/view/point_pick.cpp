#include "view/point_pick.h"

#include <cmath>
#include <cstdint>

namespace mivaro {

double pixelDistance(int x, int y, int px, int py) {
    const std::int64_t dx = static_cast<std::int64_t>(x) - px;
    const std::int64_t dy = static_cast<std::int64_t>(y) - py;
    return std::sqrt(static_cast<double>(dx * dx + dy * dy));
}

std::optional<int> pickNearestPoint(const CurveSet& curves, const PlotMapping& mapping, int x, int y) {
    double best = 9e99;
    int bestIndex = -1;
    const int n = curves.pointCount();
    for (int i = 0; i < n; ++i) {
        if (curves.curveIndex[i] == -1) {
            continue;
        }
        const double d = pixelDistance(x, y, mapping.px(curves.depth[i]), mapping.py(curves.force[i]));
        if (d < best) {
            best = d;
            bestIndex = i;
        }
    }
    if (bestIndex < 0 || !(best < kPickRadiusPx)) {
        return std::nullopt;
    }
    return bestIndex;
}

std::optional<int> pickClickedPoint(const CurveSet& curves, const PlotMapping& mapping, int x, int y) {
    constexpr double kCloseEnoughPx = 2.0;
    double best = 9e99;
    int bestIndex = -1;
    const int n = curves.pointCount();
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (curves.curveIndex[k] != -1) {
            const double d = pixelDistance(x, y, mapping.px(curves.depth[k]), mapping.py(curves.force[k]));
            if (d < best) {
                best = d;
                bestIndex = i;
            }
        }
        if (bestIndex < 0) {
            continue;
        }
        const auto b = static_cast<std::size_t>(bestIndex);
        const bool holdEnd =
            curves.segment[b] == TOP_HOLD && b + 1 < curves.segment.size() && curves.segment[b + 1] == UNLOAD;
        if ((best < kPickRadiusPx && holdEnd) || best < kCloseEnoughPx) {
            break;
        }
    }
    if (bestIndex < 0 || !(best < kPickRadiusPx)) {
        return std::nullopt;
    }
    return bestIndex;
}

}  // namespace mivaro

#include "view/curve_painter.h"

#include <algorithm>
#include <cmath>

namespace mivaro {

namespace {

// One quadrant of a circle of radius s + 0.5 in passes of 3.14 / (4r),
// mirrored into the other three.
template <class Pass>
void circlePasses(int size, int cx, int cy, Pass&& pass) {
    const double r = size + 0.5;
    const double step = 3.14 / (4 * r);
    double a = 0;
    do {
        const double dx = r * std::sin(a);
        const double dy = r * std::cos(a);
        pass(static_cast<int>(cx + dx), static_cast<int>(cx - dx), static_cast<int>(cy + dy),
             static_cast<int>(cy - dy));
        a += step;
    } while (a < 1.575);
}

}  // namespace

void drawMarker(DrawingSurface& surface, int style, int size, int cx, int cy, Rgb colour) {
    if (size < 0) {
        return;
    }
    const int s = std::min(size, kMaxMarkerSize);
    switch (style) {
        case CIRCLE:
            circlePasses(s, cx, cy, [&](int x1, int x2, int y1, int y2) {
                surface.setPixel(x1, y1, colour);
                surface.setPixel(x1, y2, colour);
                surface.setPixel(x2, y1, colour);
                surface.setPixel(x2, y2, colour);
            });
            break;
        case CIRCLE_SOLID:
            circlePasses(s, cx, cy, [&](int x1, int x2, int y1, int y2) {
                surface.setPixel(x1, y1, colour);
                surface.setPixelRun(2 * cx - x1, x1 - 1, y1, colour);
                surface.setPixel(x1, y2, colour);
                surface.setPixelRun(2 * cx - x1, x1 - 1, y2, colour);
                surface.setPixel(x2, y1, colour);
                surface.setPixel(x2, y2, colour);
            });
            break;
        case SQUARE:
            surface.setPixelRun(cx - s, cx + s, cy - s, colour);
            for (int y = cy - s + 1; y < cy + s; ++y) {
                surface.setPixel(cx - s, y, colour);
                surface.setPixel(cx + s, y, colour);
            }
            if (s > 0) {
                surface.setPixelRun(cx - s, cx + s, cy + s, colour);
            }
            break;
        case SQUARE_SOLID:
            for (int y = cy - s; y <= cy + s; ++y) {
                surface.setPixelRun(cx - s, cx + s, y, colour);
            }
            break;
        default:
            break;
    }
}

void DrawingSurface::marker(int style, int size, int cx, int cy, Rgb colour) {
    drawMarker(*this, style, size, cx, cy, colour);
}

void drawCurves(DrawingSurface& surface, const CurveSet& curves, const PlotMapping& map) {
    const int n =
        std::min({curves.pointCount(), static_cast<int>(curves.force.size()),
                  static_cast<int>(curves.curveIndex.size()), static_cast<int>(curves.colour.size())});
    const int curveCount = curves.curveCount();
    int previousPoint = -2;  // no point drawn yet
    int previousCurve = -1;
    // The pen is set again only when it changes: same pixels, fewer calls.
    int penWidth = -1;
    Rgb penColour = 0;
    // Points are mapped a block at a time in a loop of their own, where the
    // divisions of many points overlap instead of waiting between draw calls;
    // consecutive line points are handed over as one polyline.
    constexpr int kBlock = 512;
    int xs[kBlock];
    int ys[kBlock];
    bool shown[kBlock];
    int runXs[kBlock];
    int runYs[kBlock];
    int run = 0;
    auto flush = [&] {
        if (run > 0) {
            surface.polylineTo(runXs, runYs, run);
            run = 0;
        }
    };
    for (int first = 0; first < n; first += kBlock) {
        const int count = std::min(kBlock, n - first);
        for (int j = 0; j < count; ++j) {
            const auto k = static_cast<std::size_t>(first + j);
            const double x = curves.depth[k];
            const double y = curves.force[k];
            shown[j] = map.visible(x, y);
            xs[j] = map.px(x);
            ys[j] = map.py(y);
        }
        for (int j = 0; j < count; ++j) {
            const int i = first + j;
            const auto k = static_cast<std::size_t>(i);
            const int c = curves.curveIndex[k];
            // Points of curves without attributes are skipped like left-out ones.
            if (c < 0 || c >= curveCount || !shown[j]) {
                continue;
            }
            const int px = xs[j];
            const int py = ys[j];
            if (c != previousCurve || previousPoint != i - 1) {
                flush();
                surface.moveTo(px, py);
            }
            previousPoint = i;
            previousCurve = c;
            const CurveInfo& info = curves.curves[static_cast<std::size_t>(c)];
            if (info.style == LINE) {
                const int width = std::clamp(info.size, 1, kMaxMarkerSize);
                if (width != penWidth || curves.colour[k] != penColour) {
                    flush();
                    penWidth = width;
                    penColour = curves.colour[k];
                    surface.setPen(penWidth, penColour);
                }
                runXs[run] = px;
                runYs[run] = py;
                ++run;
            } else {
                flush();
                surface.marker(info.style, info.size, px, py, curves.colour[k]);
            }
        }
        flush();
    }
}

}  // namespace mivaro

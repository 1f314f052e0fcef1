#include "view/dialog_placement.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "analysis/branch_flow.h"
#include "analysis/hardness_flow.h"
#include "view/curve_painter.h"

namespace mivaro {
namespace {

// Room left between the run and the dialog, so the edge points stay clear of the frame.
constexpr int kGap = 8;

int clampStart(int start, int length, int areaStart, int areaEnd) {
    if (length >= areaEnd - areaStart) {
        return areaStart;
    }
    return std::clamp(start, areaStart, areaEnd - length);
}

PixelBox boxAt(int left, int top, int width, int height) {
    return PixelBox{left, top, left + width, top + height};
}

std::int64_t overlapArea(const PixelBox& a, const PixelBox& b) {
    const std::int64_t w = std::max(0, std::min(a.right, b.right) - std::max(a.left, b.left));
    const std::int64_t h = std::max(0, std::min(a.bottom, b.bottom) - std::max(a.top, b.top));
    return w * h;
}

bool isHighlight(Rgb colour) {
    return colour == kBranchColour || colour == kForceRangeColour || colour == kHardnessColour;
}

}  // namespace

PixelBox keptInside(const PixelBox& window, const PixelBox& area) {
    const int left = clampStart(window.left, window.width(), area.left, area.right);
    const int top = clampStart(window.top, window.height(), area.top, area.bottom);
    return boxAt(left, top, window.width(), window.height());
}

PixelBox placeDialogBeside(const PixelBox& run, int width, int height, const PixelBox& screen,
                           const PixelBox& mainWindow) {
    const int runMiddleX = run.left + run.width() / 2;
    const int runMiddleY = run.top + run.height() / 2;
    // Centred on the run along the side it is placed on, then pulled onto the screen.
    const int besideY = clampStart(runMiddleY - height / 2, height, screen.top, screen.bottom);
    const int besideX = clampStart(runMiddleX - width / 2, width, screen.left, screen.right);
    const bool runOnTheRight = runMiddleX >= mainWindow.left + mainWindow.width() / 2;
    const PixelBox leftOfWindow = boxAt(mainWindow.left - kGap - width, besideY, width, height);
    const PixelBox rightOfWindow = boxAt(mainWindow.right + kGap, besideY, width, height);
    const std::array<PixelBox, 6> candidates = {
        runOnTheRight ? leftOfWindow : rightOfWindow,
        runOnTheRight ? rightOfWindow : leftOfWindow,
        boxAt(run.right + kGap, besideY, width, height),
        boxAt(run.left - kGap - width, besideY, width, height),
        boxAt(besideX, run.bottom + kGap, width, height),
        boxAt(besideX, run.top - kGap - height, width, height),
    };
    for (const PixelBox& box : candidates) {
        if (screen.contains(box) && !box.intersects(run)) {
            return box;
        }
    }
    PixelBox best = keptInside(candidates[2], screen);
    std::int64_t bestCover = overlapArea(best, run);
    for (const PixelBox& box : candidates) {
        const PixelBox onScreen = keptInside(box, screen);
        const std::int64_t cover = overlapArea(onScreen, run);
        if (cover < bestCover) {
            best = onScreen;
            bestCover = cover;
        }
    }
    return best;
}

std::optional<PixelBox> highlightedPointsBox(const CurveSet& curves, const PlotMapping& mapping,
                                             const PixelBox& client, int clickedPoint) {
    const int n =
        std::min({curves.pointCount(), static_cast<int>(curves.colour.size()),
                  static_cast<int>(curves.curveIndex.size()), static_cast<int>(curves.force.size())});
    if (clickedPoint < 0 || clickedPoint >= n) {
        return std::nullopt;
    }
    const int owner = curves.curveIndex[static_cast<std::size_t>(clickedPoint)];
    // A marker of size s covers up to s + 1 pixels beside its point (circles
    // reach one further to the left and up); a line of width w less.
    int markerReach = 1;
    if (owner >= 0 && owner < curves.curveCount()) {
        markerReach += std::clamp(curves.curves[static_cast<std::size_t>(owner)].size, 0, kMaxMarkerSize);
    }
    PixelBox box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    bool any = false;
    const auto take = [&](std::size_t k) {
        const int x = mapping.px(curves.depth[k]);
        const int y = mapping.py(curves.force[k]);
        box.left = std::min(box.left, x - markerReach);
        box.top = std::min(box.top, y - markerReach);
        box.right = std::max(box.right, x + markerReach + 1);
        box.bottom = std::max(box.bottom, y + markerReach + 1);
        any = true;
    };
    // The points of one curve are consecutive.
    int first = clickedPoint;
    while (first > 0 && curves.curveIndex[static_cast<std::size_t>(first - 1)] == owner) {
        --first;
    }
    for (int i = first; i < n && curves.curveIndex[static_cast<std::size_t>(i)] == owner; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if ((i == clickedPoint || isHighlight(curves.colour[k])) &&
            mapping.visible(curves.depth[k], curves.force[k])) {
            take(k);
        }
    }
    if (!any) {
        return std::nullopt;
    }
    const PixelBox cut{std::max(box.left, client.left), std::max(box.top, client.top),
                       std::min(box.right, client.right), std::min(box.bottom, client.bottom)};
    if (cut.width() <= 0 || cut.height() <= 0) {
        return std::nullopt;
    }
    return cut;
}

}  // namespace mivaro

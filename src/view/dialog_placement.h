#pragma once

#include <optional>

#include "curves/curve_set.h"
#include "view/plot_frame.h"

namespace mivaro {

// A rectangle in screen (or client) pixels; right and bottom exclusive.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool intersects(const PixelBox& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool contains(const PixelBox& other) const {
        return left <= other.left && other.right <= right && top <= other.top && other.bottom <= bottom;
    }
    bool operator==(const PixelBox&) const = default;
};

// The window moved as little as possible to lie wholly inside area; one
// larger than the area keeps its size and gets the area's top left corner.
PixelBox keptInside(const PixelBox& window, const PixelBox& area);

// Where a dialog of width x height (its frame included) opens so that it
// hides none of the points in `run`: beside the main window on the side away
// from the run when the screen has room there, else right of, left of, below
// or above the run, inside the screen. When nothing fits, the place inside
// the screen that covers the least of the run. Returns the dialog's box.
PixelBox placeDialogBeside(const PixelBox& run, int width, int height, const PixelBox& screen,
                           const PixelBox& mainWindow);

// Client pixels of the points an analysis of the clicked point is about: the
// highlighted points (blue, green or magenta) of its curve and the clicked
// point itself, as drawn with the mapping of the last paint (markers with
// their size), cut to the client area. Nothing when none of them is inside.
std::optional<PixelBox> highlightedPointsBox(const CurveSet& curves, const PlotMapping& mapping,
                                             const PixelBox& client, int clickedPoint);

}  // namespace mivaro

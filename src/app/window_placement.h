#pragma once

#include <optional>

namespace mivaro {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }   // one past the last column
    int bottom() const { return top + height; }  // one past the last row
};

struct WindowSizes {
    int preferredWidth = 0;
    int preferredHeight = 0;
    int minimumWidth = 0;
    int minimumHeight = 0;
};

// Where a second window goes beside the main window's frame without covering
// any of it, inside the screen's available area (all sizes are outer frame
// sizes): right of it, else left, else below, else above; as large as the
// preferred size where the side has room for it, at least the minimum, aligned
// with the main frame's top or left edge as far as the screen allows. Nothing
// when no side has room for the minimum.
std::optional<ScreenRect> placeBeside(const ScreenRect& available, const ScreenRect& mainFrame,
                                      const WindowSizes& sizes);

}  // namespace mivaro

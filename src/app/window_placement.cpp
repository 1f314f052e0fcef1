#include "app/window_placement.h"

#include <algorithm>

namespace mivaro {
namespace {

// The start of a span of `size` that begins as near `wanted` as [lo, hi) allows.
int clampStart(int wanted, int size, int lo, int hi) {
    return std::max(lo, std::min(wanted, hi - size));
}

}  // namespace

std::optional<ScreenRect> placeBeside(const ScreenRect& available, const ScreenRect& mainFrame,
                                      const WindowSizes& sizes) {
    if (sizes.minimumWidth > available.width || sizes.minimumHeight > available.height) {
        return std::nullopt;
    }
    // Beside: the full height the screen allows, the width the side leaves.
    const int height = std::min(sizes.preferredHeight, available.height);
    const int y = clampStart(mainFrame.top, height, available.top, available.bottom());
    const int rightRoom = available.right() - std::max(mainFrame.right(), available.left);
    if (rightRoom >= sizes.minimumWidth) {
        return ScreenRect{available.right() - rightRoom, y, std::min(sizes.preferredWidth, rightRoom),
                          height};
    }
    const int leftRoom = std::min(mainFrame.left, available.right()) - available.left;
    if (leftRoom >= sizes.minimumWidth) {
        const int width = std::min(sizes.preferredWidth, leftRoom);
        return ScreenRect{available.left + leftRoom - width, y, width, height};
    }
    // Below or above: the full width the screen allows, the height the side leaves.
    const int width = std::min(sizes.preferredWidth, available.width);
    const int x = clampStart(mainFrame.left, width, available.left, available.right());
    const int belowRoom = available.bottom() - std::max(mainFrame.bottom(), available.top);
    if (belowRoom >= sizes.minimumHeight) {
        return ScreenRect{x, available.bottom() - belowRoom, width,
                          std::min(sizes.preferredHeight, belowRoom)};
    }
    const int aboveRoom = std::min(mainFrame.top, available.bottom()) - available.top;
    if (aboveRoom >= sizes.minimumHeight) {
        const int h = std::min(sizes.preferredHeight, aboveRoom);
        return ScreenRect{x, available.top + aboveRoom - h, width, h};
    }
    return std::nullopt;
}

}  // namespace mivaro

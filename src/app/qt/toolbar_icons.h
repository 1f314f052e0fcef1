#pragma once

#include <QPixmap>

namespace mivaro {

inline constexpr int kToolbarButtonWidth = 16;
inline constexpr int kToolbarButtonHeight = 15;

// The 16 x 15 toolbar picture of a command; a null pixmap for a command
// without a button.
QPixmap toolbarIcon(int commandId);

// The program's icon (About box, window, desktop entry) at the given size.
QPixmap programIcon(int size);

}  // namespace mivaro

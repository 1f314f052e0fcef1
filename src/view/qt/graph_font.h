#pragma once

#include <QFont>

#include "view/drawing_surface.h"

namespace mivaro {

// The Qt font for a FontChoice. The cell height of the choice counts the whole
// text cell (ascent + descent, internal leading included), whereas Qt's pixel
// size is the em size; the largest pixel size whose ascent + descent does not
// exceed the cell height is used, so text lines stack exactly cellHeight apart.
QFont qtFont(const FontChoice& choice);

}  // namespace mivaro

#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "curves/curve_types.h"

namespace mivaro {

// Size of the cursor image that shows a prepared text of n characters.
int textCursorWidth(int characterCount, int lineHeight);
// Characters of a UTF-8 text (code points; a stray byte counts as one).
int characterCount(std::string_view utf8);

// The two masks of a cursor, row by row. Where transparent[i] is 1 the AND
// mask is white and the colour image black; elsewhere the AND mask is black
// and the colour image keeps the pixel.
struct CursorMasks {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> transparent;
    std::vector<Rgb> colour;
};

// Derives the masks from an image drawn as RGB 1,1,1 text on pure black:
// exactly black pixels become transparent. Returns false (masks untouched)
// for an empty image or a pixel count that does not match the size.
bool deriveCursorMasks(const std::vector<Rgb>& pixels, int width, int height, CursorMasks& masks);

}  // namespace mivaro

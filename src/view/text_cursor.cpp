#include "view/text_cursor.h"

namespace mivaro {

int textCursorWidth(int characterCount, int lineHeight) {
    return static_cast<int>((characterCount + 2) * lineHeight * 0.4);
}

int characterCount(std::string_view utf8) {
    int count = 0;
    for (char c : utf8) {
        // Continuation bytes 10xxxxxx belong to the character before them.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

bool deriveCursorMasks(const std::vector<Rgb>& pixels, int width, int height, CursorMasks& masks) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return false;
    }
    CursorMasks result;
    result.width = width;
    result.height = height;
    result.transparent.resize(pixels.size());
    result.colour.resize(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const bool black = (pixels[i] & 0xFFFFFFu) == 0;
        result.transparent[i] = black ? 1 : 0;
        result.colour[i] = black ? 0 : (pixels[i] & 0xFFFFFFu);
    }
    masks = std::move(result);
    return true;
}

}  // namespace mivaro

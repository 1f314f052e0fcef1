#pragma once

#include <string>
#include <string_view>

#include "curves/curve_types.h"

namespace mivaro {

// Client rectangle of a view in its own pixels (right and bottom exclusive).
struct ClientRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ClientRect&) const = default;
};

enum class TextAlign { Left, Centre, Right };

// A font as the graph asks for it. cellHeight is the full text cell
// (ascent + descent) in pixels; rotation is 0 or 90 (counter-clockwise,
// text reading upwards).
struct FontChoice {
    std::string face = "Arial";
    int cellHeight = 24;
    int weight = 400;
    int rotationDeg = 0;

    bool operator==(const FontChoice&) const = default;
};

// What the graph paint needs of a window, printer page or image. Lines follow
// the usual raster rule: a line never sets its end pixel, so consecutive
// segments do not paint their shared pixel twice. Text is drawn black on a
// transparent background, its top at the given y.
class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    virtual ClientRect clientRect() const = 0;

    virtual void moveTo(int x, int y) = 0;
    // Solid pen; widths 0 and 1 both give one-pixel lines.
    virtual void setPen(int width, Rgb colour) = 0;
    // Draws from the current position with the current pen and moves there.
    virtual void lineTo(int x, int y) = 0;
    // lineTo through each point in turn; surfaces that can do it faster in
    // one call override it.
    virtual void polylineTo(const int* xs, const int* ys, int count) {
        for (int k = 0; k < count; ++k) {
            lineTo(xs[k], ys[k]);
        }
    }

    virtual void selectFont(const FontChoice& font) = 0;
    // Horizontal text: x is the left edge, centre or right edge by align, y
    // the top. With a 90 degree font the text reads upwards from (x, y): x is
    // then the top edge of the text (its left side on screen) and align
    // applies along the reading direction.
    virtual void drawText(int x, int y, std::string_view text, TextAlign align) = 0;

    // One marker of a curve or series centred on (cx, cy), by its MarkerStyle
    // code and size: the pixels drawMarker (curve_painter.h) sets. A vector
    // drawing draws one circle or square over the same pixels instead.
    virtual void marker(int style, int size, int cx, int cy, Rgb colour);

    virtual void setPixel(int x, int y, Rgb colour) = 0;
    // Pixels xFrom..xTo (both included) of row y; nothing when xTo < xFrom.
    virtual void setPixelRun(int xFrom, int xTo, int y, Rgb colour) {
        for (int x = xFrom; x <= xTo; ++x) {
            setPixel(x, y, colour);
        }
    }
};

}  // namespace mivaro

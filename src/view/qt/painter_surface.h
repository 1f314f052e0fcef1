#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <optional>

#include "view/drawing_surface.h"

namespace mivaro {

// Drawing surface over a QPainter. When the painter draws untransformed into
// a 32-bit QImage, lines and pixels are written straight into the image bits
// (the same pixels, much faster than a QPen per segment); text always goes
// through the painter. On other devices (printer) the painter draws all.
class PainterSurface final : public DrawingSurface {
  public:
    // raster: the image the painter is active on, or null. client: the
    // rectangle the graph is laid out in.
    PainterSurface(QPainter& painter, ClientRect client, QImage* raster = nullptr);
    ~PainterSurface() override;
    PainterSurface(const PainterSurface&) = delete;
    PainterSurface& operator=(const PainterSurface&) = delete;

    ClientRect clientRect() const override { return m_client; }
    void moveTo(int x, int y) override;
    void setPen(int width, Rgb colour) override;
    void lineTo(int x, int y) override;
    void polylineTo(const int* xs, const int* ys, int count) override;
    void selectFont(const FontChoice& font) override;
    void drawText(int x, int y, std::string_view text, TextAlign align) override;
    void setPixel(int x, int y, Rgb colour) override;
    void setPixelRun(int xFrom, int xTo, int y, Rgb colour) override;
    void marker(int style, int size, int cx, int cy, Rgb colour) override;

    bool usesRasterBits() const { return m_bits != nullptr; }
    // On a page or a vector drawing, pens of width 1 scale with the painter
    // like every wider pen; only width 0 stays the device's thinnest line.
    // Off by default: the window's pens of width 0 and 1 are the same.
    void setScaledPens(bool scaled) { m_scaledPens = scaled; }
    // For SVG and PDF: each marker becomes one circle or square and each run
    // of joined lines with one pen one polyline, instead of pixels and
    // segments, so a drawing holds a few elements per point, not dozens.
    void setVectorShapes(bool shapes) { m_vectorShapes = shapes; }
    // Draws the polyline still being collected (the destructor does too).
    void flushPath();

  private:
    QPen linePen() const;
    void thinLineBits(int x0, int y0, int x1, int y1);
    void wideLineBits(int x0, int y0, int x1, int y1);
    QRgb* row(int y) { return reinterpret_cast<QRgb*>(m_bits + static_cast<qsizetype>(y) * m_stride); }
    void put(int x, int y, QRgb value) {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(m_width) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(m_height)) {
            row(y)[x] = value;
        }
    }

    QPainter& m_painter;
    ClientRect m_client;
    uchar* m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    int m_x = 0;
    int m_y = 0;
    int m_penWidth = 1;
    int m_requestedPenWidth = 1;
    bool m_scaledPens = false;
    bool m_vectorShapes = false;
    QPolygon m_path;  // vector shapes: the polyline being collected, with the pen in use
    struct LastMarker {
        int style, size, cx, cy;
        Rgb colour;
        bool operator==(const LastMarker&) const = default;
    };
    std::optional<LastMarker> m_lastMarker;  // a repeat on the same spot adds nothing
    Rgb m_penColour = 0;
    QRgb m_penValue = 0xFF000000u;
    QFont m_font;
    int m_rotationDeg = 0;
};

// The graph's pixel value of an Rgb colour in a 32-bit QImage.
inline QRgb toQRgb(Rgb colour) {
    return qRgb(redOf(colour), greenOf(colour), blueOf(colour));
}

}  // namespace mivaro

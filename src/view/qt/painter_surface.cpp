#include "view/qt/painter_surface.h"

#include <QFontMetrics>
#include <QPen>
#include <algorithm>

#include "view/curve_painter.h"
#include "view/qt/graph_font.h"
#include "view/raster_line.h"

namespace mivaro {

namespace {

bool isRasterTarget(const QPainter& painter, const QImage* raster) {
    if (raster == nullptr || raster->isNull() || !painter.isActive() || painter.device() != raster) {
        return false;
    }
    const QImage::Format format = raster->format();
    const bool thirtyTwoBit = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                              format == QImage::Format_ARGB32_Premultiplied;
    return thirtyTwoBit && painter.worldTransform().isIdentity() && !painter.hasClipping();
}

}  // namespace

PainterSurface::PainterSurface(QPainter& painter, ClientRect client, QImage* raster)
    : m_painter(painter), m_client(client) {
    if (isRasterTarget(painter, raster)) {
        // The painter is already active on the image, so the image is not
        // shared and bits() hands out the buffer the painter draws into.
        m_bits = raster->bits();
        m_stride = raster->bytesPerLine();
        m_width = raster->width();
        m_height = raster->height();
    }
    m_font = qtFont(FontChoice{});
}

PainterSurface::~PainterSurface() {
    flushPath();
}

void PainterSurface::moveTo(int x, int y) {
    flushPath();
    m_x = x;
    m_y = y;
}

void PainterSurface::setPen(int width, Rgb colour) {
    if (width != m_requestedPenWidth || colour != m_penColour) {
        flushPath();
    }
    m_penWidth = width <= 1 ? 1 : width;
    m_requestedPenWidth = width;
    m_penColour = colour;
    m_penValue = toQRgb(colour);
}

void PainterSurface::lineTo(int x, int y) {
    if (m_bits != nullptr) {
        if (m_penWidth <= 1) {
            thinLineBits(m_x, m_y, x, y);
        } else {
            wideLineBits(m_x, m_y, x, y);
        }
    } else if (m_vectorShapes) {
        if (m_path.isEmpty()) {
            m_path << QPoint(m_x, m_y);
        }
        if (m_path.constLast() != QPoint(x, y)) {  // a repeated point adds nothing to the line
            m_path << QPoint(x, y);
        }
    } else if (x != m_x || y != m_y) {  // a zero-length line sets no pixel
        m_painter.setPen(linePen());
        m_painter.drawLine(m_x, m_y, x, y);
    }
    m_x = x;
    m_y = y;
}

QPen PainterSurface::linePen() const {
    QPen pen(QColor(redOf(m_penColour), greenOf(m_penColour), blueOf(m_penColour)));
    const bool hairline = m_scaledPens ? m_requestedPenWidth <= 0 : m_penWidth <= 1;
    pen.setWidth(hairline ? 0 : m_penWidth);
    pen.setCapStyle(m_penWidth <= 1 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void PainterSurface::flushPath() {
    if (m_path.size() >= 2) {
        m_lastMarker.reset();  // a marker after the line is drawn again, over it
        m_painter.setPen(linePen());
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPolyline(m_path);
    }
    m_path.clear();
}

void PainterSurface::polylineTo(const int* xs, const int* ys, int count) {
    if (m_bits == nullptr || m_penWidth > 1) {
        DrawingSurface::polylineTo(xs, ys, count);
        return;
    }
    for (int k = 0; k < count; ++k) {
        thinLineBits(m_x, m_y, xs[k], ys[k]);
        m_x = xs[k];
        m_y = ys[k];
    }
}

void PainterSurface::thinLineBits(int x0, int y0, int x1, int y1) {
    const QRgb value = m_penValue;
    const bool inside = std::min(x0, x1) >= 0 && std::min(y0, y1) >= 0 && std::max(x0, x1) < m_width &&
                        std::max(y0, y1) < m_height;
    if (inside) {
        rasterThinLine(x0, y0, x1, y1, [this, value](int x, int y) { row(y)[x] = value; });
    } else {
        rasterThinLine(x0, y0, x1, y1, [this, value](int x, int y) { put(x, y, value); });
    }
}

void PainterSurface::wideLineBits(int x0, int y0, int x1, int y1) {
    const QRgb value = m_penValue;
    const int lo = penLow(m_penWidth);
    const int hi = penHigh(m_penWidth);
    const bool inside = std::min(x0, x1) + lo >= 0 && std::min(y0, y1) + lo >= 0 &&
                        std::max(x0, x1) + hi < m_width && std::max(y0, y1) + hi < m_height;
    auto plot = [this, value](int x, int y) { put(x, y, value); };
    if (inside) {
        const qsizetype stride = m_stride / static_cast<qsizetype>(sizeof(QRgb));
        mivaro::rasterWideLine(x0, y0, x1, y1, m_penWidth, plot,
                               [this, value, stride](int x, int y, bool vertical, int from, int to) {
                                   QRgb* pixel = row(y) + x;
                                   if (vertical) {
                                       for (int k = from; k <= to; ++k) {
                                           pixel[k * stride] = value;
                                       }
                                   } else {
                                       for (int k = from; k <= to; ++k) {
                                           pixel[k] = value;
                                       }
                                   }
                               });
    } else {
        mivaro::rasterWideLine(x0, y0, x1, y1, m_penWidth, plot,
                               [&plot](int x, int y, bool vertical, int from, int to) {
                                   plotRunAcross(x, y, vertical, from, to, plot);
                               });
    }
}

void PainterSurface::marker(int style, int size, int cx, int cy, Rgb colour) {
    if (m_bits != nullptr || !m_vectorShapes) {
        DrawingSurface::marker(style, size, cx, cy, colour);
        return;
    }
    const LastMarker drawn{style, size, cx, cy, colour};
    if (size < 0 || m_lastMarker == drawn) {
        return;
    }
    flushPath();
    m_lastMarker = drawn;
    // The shapes cover the pixels drawMarker sets: a circle's pixels reach
    // from cx - s - 1 to cx + s, a square's from cx - s to cx + s.
    const double s = std::min(size, kMaxMarkerSize);
    const QColor qColour(redOf(colour), greenOf(colour), blueOf(colour));
    QPen outline(qColour);
    outline.setWidthF(1.0);
    const bool solid = style == CIRCLE_SOLID || style == SQUARE_SOLID || (style == SQUARE && s == 0);
    // Set only what changed: each change of the painter's state opens a new
    // group in an SVG drawing.
    const QPen pen = solid ? QPen(Qt::NoPen) : outline;
    const QBrush brush = solid ? QBrush(qColour) : QBrush(Qt::NoBrush);
    if (m_painter.pen() != pen) {
        m_painter.setPen(pen);
    }
    if (m_painter.brush() != brush) {
        m_painter.setBrush(brush);
    }
    switch (style) {
        case CIRCLE:
            m_painter.drawEllipse(QPointF(cx, cy), s + 0.5, s + 0.5);
            break;
        case CIRCLE_SOLID:
            m_painter.drawEllipse(QPointF(cx, cy), s + 1, s + 1);
            break;
        case SQUARE:
        case SQUARE_SOLID:
            if (solid) {  // a square of size 0 is its one pixel
                m_painter.drawRect(QRectF(cx - s, cy - s, 2 * s + 1, 2 * s + 1));
            } else {
                m_painter.drawRect(QRectF(cx - s + 0.5, cy - s + 0.5, 2 * s, 2 * s));
            }
            break;
        default:
            break;
    }
}

void PainterSurface::selectFont(const FontChoice& font) {
    flushPath();
    m_font = qtFont(font);
    m_rotationDeg = font.rotationDeg;
}

void PainterSurface::drawText(int x, int y, std::string_view text, TextAlign align) {
    flushPath();
    m_lastMarker.reset();
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics metrics(m_font);
    const int advance = metrics.horizontalAdvance(string);
    const int offset = align == TextAlign::Left ? 0 : align == TextAlign::Centre ? -advance / 2 : -advance;
    m_painter.setFont(m_font);
    m_painter.setPen(QColor(Qt::black));
    m_painter.setBackgroundMode(Qt::TransparentMode);
    if (m_rotationDeg == 0) {
        m_painter.drawText(QPoint(x + offset, y + metrics.ascent()), string);
        return;
    }
    // Reading upwards: the text's top faces left, its start is at the bottom.
    m_painter.save();
    m_painter.translate(x, y);
    m_painter.rotate(-m_rotationDeg);
    m_painter.drawText(QPoint(offset, metrics.ascent()), string);
    m_painter.restore();
}

void PainterSurface::setPixel(int x, int y, Rgb colour) {
    flushPath();
    m_lastMarker.reset();
    if (m_bits != nullptr) {
        put(x, y, toQRgb(colour));
        return;
    }
    m_painter.fillRect(QRect(x, y, 1, 1), QColor(redOf(colour), greenOf(colour), blueOf(colour)));
}

void PainterSurface::setPixelRun(int xFrom, int xTo, int y, Rgb colour) {
    if (xTo < xFrom) {
        return;
    }
    if (m_bits == nullptr) {
        flushPath();
        m_lastMarker.reset();
        m_painter.fillRect(QRect(xFrom, y, xTo - xFrom + 1, 1),
                           QColor(redOf(colour), greenOf(colour), blueOf(colour)));
        return;
    }
    if (static_cast<unsigned>(y) >= static_cast<unsigned>(m_height)) {
        return;
    }
    const int from = std::max(xFrom, 0);
    const int to = std::min(xTo, m_width - 1);
    auto* row = reinterpret_cast<QRgb*>(m_bits + static_cast<qsizetype>(y) * m_stride);
    const QRgb value = toQRgb(colour);
    for (int x = from; x <= to; ++x) {
        row[x] = value;
    }
}

}  // namespace mivaro

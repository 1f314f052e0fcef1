#include "view/qt/painter_surface.h"

#include <QFontMetrics>
#include <QPen>
#include <algorithm>

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

void PainterSurface::moveTo(int x, int y) {
    m_x = x;
    m_y = y;
}

void PainterSurface::setPen(int width, Rgb colour) {
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
    } else if (x != m_x || y != m_y) {  // a zero-length line sets no pixel
        QPen pen(QColor(redOf(m_penColour), greenOf(m_penColour), blueOf(m_penColour)));
        const bool hairline = m_scaledPens ? m_requestedPenWidth <= 0 : m_penWidth <= 1;
        pen.setWidth(hairline ? 0 : m_penWidth);
        pen.setCapStyle(m_penWidth <= 1 ? Qt::FlatCap : Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        m_painter.setPen(pen);
        m_painter.drawLine(m_x, m_y, x, y);
    }
    m_x = x;
    m_y = y;
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

void PainterSurface::selectFont(const FontChoice& font) {
    m_font = qtFont(font);
    m_rotationDeg = font.rotationDeg;
}

void PainterSurface::drawText(int x, int y, std::string_view text, TextAlign align) {
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

#include "view/qt/text_cursor_builder.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <vector>

#include "view/qt/graph_font.h"
#include "view/text_cursor.h"

namespace mivaro {

QtTextCursorBuilder::QtTextCursorBuilder(const ViewSettings& settings)
    : m_font([&settings] {
          FontChoice choice;
          choice.cellHeight = settings.lineHeight();
          choice.weight = settings.boldText == 1 ? 700 : 400;
          return choice;
      }) {}

bool QtTextCursorBuilder::buildTextCursor(const std::string& text) {
    FontChoice choice = m_font();
    choice.rotationDeg = 0;
    const int height = choice.cellHeight;
    const int width = textCursorWidth(characterCount(text), height);
    if (width <= 0 || height <= 0) {
        return false;
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return false;  // too large to allocate
    }
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setFont(qtFont(choice));
        painter.setPen(QColor(1, 1, 1));
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.drawText(QRect(2, 2, width, height), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromStdString(text));
    }
    std::vector<Rgb> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb p = row[x];
            pixels[static_cast<std::size_t>(y * width + x)] = makeRgb(qRed(p), qGreen(p), qBlue(p));
        }
    }
    CursorMasks masks;
    if (!deriveCursorMasks(pixels, width, height, masks)) {
        return false;
    }
    QImage colour(width, height, QImage::Format_ARGB32);
    QImage opaque(width, height, QImage::Format_Mono);
    if (colour.isNull() || opaque.isNull()) {
        return false;
    }
    opaque.setColor(0, QColor(Qt::white).rgb());
    opaque.setColor(1, QColor(Qt::black).rgb());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(colour.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * width + x);
            const Rgb c = masks.colour[i];
            const bool transparent = masks.transparent[i] != 0;
            row[x] = transparent ? qRgba(0, 0, 0, 0) : qRgb(redOf(c), greenOf(c), blueOf(c));
            // QBitmap: colour 1 (black) marks the opaque pixels.
            opaque.setPixel(x, y, transparent ? 0 : 1);
        }
    }
    QPixmap pixmap = QPixmap::fromImage(colour);
    const QBitmap mask = QBitmap::fromImage(opaque);
    if (pixmap.isNull() || mask.isNull()) {
        return false;
    }
    pixmap.setMask(mask);
    m_cursor = QCursor(pixmap, 0, 0);
    m_imageSize = QSize(width, height);
    return true;
}

}  // namespace mivaro

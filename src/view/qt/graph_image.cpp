#include "view/qt/graph_image.h"

#include <QBuffer>
#include <QPainter>
#include <ostream>

#include "platform/safe_file_write.h"
#include "view/qt/painter_surface.h"

namespace mivaro {

QImage renderGraphImage(MainGraph& graph, const GraphData& data, QSize clientSize) {
    return renderSurfaceImage(clientSize, [&](DrawingSurface& surface) { graph.paint(surface, data); });
}

QImage renderSurfaceImage(QSize clientSize, const std::function<void(DrawingSurface&)>& paint) {
    if (clientSize.width() <= 0 || clientSize.height() <= 0) {
        return QImage();
    }
    QImage image(clientSize, QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterSurface surface(painter, ClientRect{0, 0, clientSize.width(), clientSize.height()}, &image);
    paint(surface);
    painter.end();
    return image;
}

bool savePng(const QImage& image, const QString& path, std::string* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        if (error != nullptr)
            *error = "the picture could not be made";
        return false;
    }
    std::string why;
    const bool saved = saveFileSafely(
        path.toStdString(), [&](std::ostream& out) { out.write(bytes.constData(), bytes.size()); }, why);
    if (!saved && error != nullptr)
        *error = why;
    return saved;
}

}  // namespace mivaro

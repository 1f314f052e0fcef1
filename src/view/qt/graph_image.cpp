#include "view/qt/graph_image.h"

#include <QPainter>
#include <QSaveFile>

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

bool savePng(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace mivaro

#include "view/qt/graph_output.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <ostream>

#include "platform/safe_file_write.h"
#include "view/print_mapping.h"
#include "view/qt/graph_image.h"
#include "view/qt/painter_surface.h"

namespace mivaro {

namespace {

constexpr int kVectorDpi = 96;

// Marker pixels on a scaled page: one device pixel at the scaled position,
// as the printers of earlier versions drew them; everything else through
// the painter's mapping.
class DevicePixelSurface final : public DrawingSurface {
  public:
    DevicePixelSurface(QPainter& painter, PainterSurface& inner) : m_painter(painter), m_inner(inner) {}

    ClientRect clientRect() const override { return m_inner.clientRect(); }
    void moveTo(int x, int y) override { m_inner.moveTo(x, y); }
    void setPen(int width, Rgb colour) override { m_inner.setPen(width, colour); }
    void lineTo(int x, int y) override { m_inner.lineTo(x, y); }
    void selectFont(const FontChoice& font) override { m_inner.selectFont(font); }
    void drawText(int x, int y, std::string_view text, TextAlign align) override {
        m_inner.drawText(x, y, text, align);
    }
    void setPixel(int x, int y, Rgb colour) override {
        const QPointF at = m_painter.worldTransform().map(QPointF(x, y));
        m_painter.save();
        m_painter.resetTransform();
        m_painter.fillRect(QRect(static_cast<int>(at.x()), static_cast<int>(at.y()), 1, 1),
                           QColor(redOf(colour), greenOf(colour), blueOf(colour)));
        m_painter.restore();
    }

  private:
    QPainter& m_painter;
    PainterSurface& m_inner;
};

void paintCopy(QPainter& painter, const MainGraph& graph, const GraphData& data, QSize clientSize,
               bool devicePixelMarkers) {
    MainGraph copy = graph;
    PainterSurface surface(painter, ClientRect{0, 0, clientSize.width(), clientSize.height()});
    surface.setScaledPens(true);
    if (devicePixelMarkers) {
        DevicePixelSurface page(painter, surface);
        copy.paint(page, data);
    } else {
        copy.paint(surface, data);
    }
}

// SVG and PDF: one shape per marker, one polyline per joined line.
void paintOn(QPainter& painter, QSize clientSize, const PicturePaint& paint) {
    PainterSurface surface(painter, ClientRect{0, 0, clientSize.width(), clientSize.height()});
    surface.setScaledPens(true);
    surface.setVectorShapes(true);
    paint(surface);
    surface.flushPath();
}

}  // namespace

std::optional<QByteArray> encodePicture(QSize clientSize, ExportFormat format, const PicturePaint& paint) {
    if (clientSize.width() <= 0 || clientSize.height() <= 0) {
        return std::nullopt;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
        case ExportFormat::Png: {
            const QImage image = renderSurfaceImage(clientSize, paint);
            if (image.isNull() || !image.save(&buffer, "PNG")) {
                return std::nullopt;
            }
            break;
        }
        case ExportFormat::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(clientSize);
            svg.setViewBox(QRect(QPoint(0, 0), clientSize));
            svg.setResolution(kVectorDpi);
            svg.setTitle("Mivaro graph");
            QPainter painter;
            if (!painter.begin(&svg)) {
                return std::nullopt;
            }
            painter.fillRect(QRect(QPoint(0, 0), clientSize), Qt::white);
            paintOn(painter, clientSize, paint);
            painter.end();
            break;
        }
        case ExportFormat::Pdf: {
            QPdfWriter pdf(&buffer);
            pdf.setTitle("Mivaro graph");
            pdf.setCreator("Mivaro");
            pdf.setResolution(kVectorDpi);
            const QSizeF points(clientSize.width() * 72.0 / kVectorDpi,
                                clientSize.height() * 72.0 / kVectorDpi);
            pdf.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter;
            if (!painter.begin(&pdf)) {
                return std::nullopt;
            }
            paintOn(painter, clientSize, paint);
            painter.end();
            break;
        }
    }
    buffer.close();
    return bytes;
}

std::optional<QByteArray> encodeGraph(const MainGraph& graph, const GraphData& data, QSize clientSize,
                                      ExportFormat format) {
    return encodePicture(clientSize, format, [&](DrawingSurface& surface) {
        MainGraph copy = graph;
        copy.paint(surface, data);
    });
}

bool exportPicture(QSize clientSize, const std::string& path, const PicturePaint& paint, std::string& error) {
    const std::optional<ExportFormat> format = exportFormatOf(path);
    if (!format) {
        error =
            "The graph can be exported as .png, .svg or .pdf; please choose a file name with one of these "
            "extensions.";
        return false;
    }
    const std::optional<QByteArray> bytes = encodePicture(clientSize, *format, paint);
    if (!bytes) {
        error = "The graph could not be drawn at this size.";
        return false;
    }
    return saveFileSafely(
        path,
        [&bytes](std::ostream& out) {
            out.write(bytes->constData(), static_cast<std::streamsize>(bytes->size()));
        },
        error);
}

void printGraphPage(QPagedPaintDevice& device, const MainGraph& graph, const GraphData& data,
                    QSize clientSize) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return;
    }
    const PrintScale scale = printScale(clientSize.width(), clientSize.height(), device.logicalDpiX(),
                                        device.logicalDpiY(), device.width(), device.height());
    painter.scale(scale.x, scale.y);
    paintCopy(painter, graph, data, clientSize, true);
    painter.end();
}

bool exportGraph(const MainGraph& graph, const GraphData& data, QSize clientSize, const std::string& path,
                 std::string& error) {
    return exportPicture(
        clientSize, path,
        [&](DrawingSurface& surface) {
            MainGraph copy = graph;
            copy.paint(surface, data);
        },
        error);
}

}  // namespace mivaro

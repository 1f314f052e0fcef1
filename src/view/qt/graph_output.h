#pragma once

#include <QByteArray>
#include <QSize>
#include <functional>
#include <optional>
#include <string>

#include "view/export_format.h"
#include "view/main_graph.h"

class QPagedPaintDevice;
class QPainter;

namespace mivaro {

// The graph leaving the window: exported as PNG, SVG or PDF, or printed on a
// page. Every one paints a copy of the graph with the one paint routine,
// laid out for the window's client size, so the window keeps its layout,
// automatic ranges and hit boxes: its clicks land where they did.

// Any graph's paint routine, run on the surface of a picture being made.
using PicturePaint = std::function<void(DrawingSurface&)>;

// The picture of one paint at a client size, as a PNG picture or an SVG or
// PDF drawing; nothing when the size cannot be drawn.
std::optional<QByteArray> encodePicture(QSize clientSize, ExportFormat format, const PicturePaint& paint);
// Writes it through the safe writer, the format by the extension of path.
bool exportPicture(QSize clientSize, const std::string& path, const PicturePaint& paint, std::string& error);

// The file's bytes. PNG is the picture the window shows; SVG and PDF are
// drawings with the client pixels as units (PDF at 96 per inch), so lines
// and text stay sharp at any zoom. Nothing when the size cannot be drawn.
std::optional<QByteArray> encodeGraph(const MainGraph& graph, const GraphData& data, QSize clientSize,
                                      ExportFormat format);

// Writes the export through the safe writer, the format by the extension.
// False with a sentence for the user in `error` on failure.
bool exportGraph(const MainGraph& graph, const GraphData& data, QSize clientSize, const std::string& path,
                 std::string& error);

// One printed page: the anisotropic mapping of printScale() onto the
// device's printable area; fonts and pens scale with it, marker pixels stay
// single device pixels at the scaled positions.
void printGraphPage(QPagedPaintDevice& device, const MainGraph& graph, const GraphData& data,
                    QSize clientSize);

}  // namespace mivaro

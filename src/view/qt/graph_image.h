#pragma once

#include <string>

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

#include "view/main_graph.h"

namespace mivaro {

// The graph as the window shows it in a client area of the given size: a
// white background with the graph painted on top. A null image when the
// size cannot be allocated.
QImage renderGraphImage(MainGraph& graph, const GraphData& data, QSize clientSize);
// The same for any graph's paint routine.
QImage renderSurfaceImage(QSize clientSize, const std::function<void(DrawingSurface&)>& paint);

// Writes a PNG through a temporary file, so a failure keeps any old file.
bool savePng(const QImage& image, const QString& path, std::string* error = nullptr);

}  // namespace mivaro

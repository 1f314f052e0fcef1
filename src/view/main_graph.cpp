#include "view/main_graph.h"

namespace mivaro {

FontSpec MainGraph::graphFont(int rotationDeg) const {
    FontSpec font;
    font.cellHeight = m_settings.lineHeight();
    font.weight = m_settings.boldText == 1 ? 700 : 400;
    font.rotationDeg = rotationDeg;
    return font;
}

void MainGraph::paint(DrawingSurface& surface, const GraphData& data) {
    (void)surface;
    (void)data;
}

}  // namespace mivaro

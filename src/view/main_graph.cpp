#include "view/main_graph.h"

#include "view/curve_painter.h"
#include "view/plot_frame.h"

namespace mivaro {

FontChoice MainGraph::graphFont(int rotationDeg) const {
    FontChoice font;
    font.cellHeight = m_settings.lineHeight();
    font.weight = m_settings.boldText == 1 ? 700 : 400;
    font.rotationDeg = rotationDeg;
    return font;
}

void MainGraph::paint(DrawingSurface& surface, const GraphData& data) {
    // Another number of curve files means another data set: old results go.
    if (data.nameCount != m_lastNameCount) {
        m_texts.empty();
        m_lastNameCount = data.nameCount;
    }

    surface.selectFont(graphFont());
    const int axisPen = m_settings.boldText == 1 ? 2 : 1;
    surface.setPen(axisPen, makeRgb(0, 0, 0));

    applyAutomaticRanges(m_settings, dataMaxima(data.curves));

    const ClientRect client = surface.clientRect();
    for (int k = 0; k < m_texts.count(); ++k) {
        const TextSlot& line = m_texts.slot(k);
        surface.drawText(line.x, line.y, line.text, TextAlign::Left);
    }

    layOutPlot(m_settings, client, m_layout);
    m_layout.frameDrawn = plotFitsWindow(m_layout);
    if (!m_layout.frameDrawn) {
        return;
    }

    drawFrame(surface, m_settings, m_layout, data.xTitle, data.yTitle);
    drawCurves(surface, data.curves, PlotMapping(m_settings, m_layout));
}

}  // namespace mivaro

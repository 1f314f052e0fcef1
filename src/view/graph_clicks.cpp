#include "view/graph_clicks.h"

#include "analysis/analysis_row.h"
#include "view/click_hint.h"
#include "view/point_pick.h"

namespace mivaro {

GraphClickCommands::GraphClickCommands(MainGraph& graph, CMivaro4Doc& doc, const Ports& ports)
    : m_graph(graph), m_doc(doc), m_ports(ports) {}

std::optional<int> GraphClickCommands::pointAt(int x, int y) const {
    const PlotLayout& layout = m_graph.layout();
    if (!layout.frameDrawn) {
        return std::nullopt;
    }
    return pickClickedPoint(m_doc.curveSet(), PlotMapping(m_graph.settings(), layout), x, y);
}

std::string GraphClickCommands::hintAt(int x, int y) const {
    if (m_graph.textList().placing()) {
        return {};
    }
    const std::optional<int> point = pointAt(x, y);
    return point ? clickHint(m_doc.curveSet(), *point) : std::string();
}

ClickReport GraphClickCommands::leftRelease(int x, int y) {
    ClickReport report;
    // The press of this click has just placed the waiting text.
    if (m_graph.textList().leftRelease()) {
        report.endedPlacement = true;
        return report;
    }
    report.point = pointAt(x, y);
    if (report.point) {
        report.outcome = runOn(*report.point);
    }
    return report;
}

FlowOutcome GraphClickCommands::runOn(int point) {
    const ViewSettings& s = m_graph.settings();
    MessagePort& messages = m_ports.messages != nullptr ? *m_ports.messages : m_doc.messages();
    RepaintPort& repaint = m_ports.repaint != nullptr ? *m_ports.repaint : m_doc.repaint();
    FlowContext ctx{m_doc.curveSet(),
                    m_doc.indentCurve(),
                    messages,
                    repaint,
                    *this,
                    GraphTextStyle{s.labelDecimals, s.fontSize, s.boldText}};
    ctx.saveSettings = m_saveSettings;
    ctx.progress = m_ports.progress;
    m_activePoint = point;
    FlowOutcome outcome = runClickFlow(ctx, point, m_ports.dialogs);
    m_activePoint.reset();
    if (outcome.record && m_resultObserver) {
        // The instrument-grade results with the modulus dialog's values, as `analyse --iso` takes them.
        const ModulusSettings settings = outcome.record->modulus
                                             ? *outcome.record->modulus
                                             : readModulusSettings(m_doc.indentCurve().settingsDirectory);
        m_resultObserver(analysisResultRow(m_doc.curveSet(), outcome, m_doc.indentCurve().results,
                                           isoSetupFromSettings(settings)));
    }
    return outcome;
}

void GraphClickCommands::beginTextPlacement(const std::string& text) {
    m_graph.textList().beginTextPlacement(text);
}

}  // namespace mivaro

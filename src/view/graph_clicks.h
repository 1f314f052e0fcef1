#pragma once

#include <functional>
#include <optional>
#include <string>

#include "analysis/click_dispatch.h"
#include "analysis/result_row.h"
#include "curves/mivaro_doc.h"
#include "view/main_graph.h"

namespace mivaro {

// What one left release did.
struct ClickReport {
    bool endedPlacement = false;  // the release of the click that placed a text
    std::optional<int> point;     // the point taken, if any
    FlowOutcome outcome;
};

// The left-button release on the main graph: ends a text placement, or takes
// the point under the click with the mapping of the last paint and runs the
// flow its letter offers. Result lines go to the graph's text list.
class GraphClickCommands final : private ResultTextSink {
  public:
    struct Ports {
        MessagePort* messages = nullptr;  // refusals; none: the document's
        RepaintPort* repaint = nullptr;   // colour changes; none: the document's
        ProgressPort* progress = nullptr;
        ClickDialogs dialogs;
    };

    GraphClickCommands(MainGraph& graph, CMivaro4Doc& doc, const Ports& ports);

    ClickReport leftRelease(int x, int y);

    // Runs the flow the point's letter offers, as a release on it would.
    FlowOutcome runOn(int point);

    // The point a release at (x, y) takes; nothing before the first paint
    // and while the last paint had no room for the plot.
    std::optional<int> pointAt(int x, int y) const;

    // What a left release at (x, y) would start, for the status bar; empty
    // where it would start nothing (and while a text waits to be placed).
    std::string hintAt(int x, int y) const;

    // Told the row of every analysis a click completes (Cancel and refusals
    // give none).
    void setResultObserver(std::function<void(const ResultRow&)> observer) {
        m_resultObserver = std::move(observer);
    }
    // The point whose flow is running (while its dialogs are open), if any.
    std::optional<int> activePoint() const { return m_activePoint; }

    Ports& ports() { return m_ports; }
    // Off for the command line: settings files are read, never written.
    void setSaveSettings(bool save) { m_saveSettings = save; }

  private:
    void beginTextPlacement(const std::string& text) override;

    MainGraph& m_graph;
    CMivaro4Doc& m_doc;
    Ports m_ports;
    bool m_saveSettings = true;
    std::function<void(const ResultRow&)> m_resultObserver;
    std::optional<int> m_activePoint;
};

}  // namespace mivaro

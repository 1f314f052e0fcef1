#pragma once

#include <QPointer>
#include <functional>

#include "modgraph/qt/xy_graph_window.h"
#include "modgraph/xy_graph_wnd.h"

class QWidget;

namespace mivaro {

// The main view's modulus graph: the graph lives as long as the view, its
// "XY-Graph" window is made by the first call of the hand-over and from then
// on only hidden and shown. Hand this to the view as its ModulusGraphSink.
class ModulusGraphWindowOwner final : public ModulusGraphSink {
  public:
    // mainView: the window the graph window stays above; the dialogs and
    // messages are the program's own.
    ModulusGraphWindowOwner(QWidget* mainView, GraphDialogPort& dialogs, MessagePort& messages);
    ~ModulusGraphWindowOwner() override;

    int seriesCount() const override { return m_graph.seriesCount(); }
    void setNextSeriesStyle(Rgb colour, int markerStyle, int markerSize) override;
    void setBoldText(int bold) override;
    void setFontHeight(int heightPx) override;
    void AddSeries(const double* x, const double* y, int n) override;
    void redrawAndShow() override;

    CXYGraphWnd& graph() { return m_graph; }
    // Null until the first hand-over.
    XYGraphWindow* window() const { return m_window.data(); }
    // Called once the window exists, so that dialogs and messages opened
    // from it can be made its children.
    std::function<void(XYGraphWindow&)> onWindowCreated;

  private:
    void createOnce();

    QWidget* m_mainView;
    GraphDialogPort& m_dialogs;
    MessagePort& m_messages;
    CXYGraphWnd m_graph;
    QPointer<XYGraphWindow> m_window;
    bool m_created = false;
};

}  // namespace mivaro

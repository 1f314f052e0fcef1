#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

#include "analysis/analysis_ports.h"
#include "curves/mivaro_doc.h"
#include "view/curve_style_dialog.h"
#include "view/graph_dialogs.h"
#include "view/main_graph.h"
#include "view/text_line_dialog_port.h"

class QPainter;
class QTimer;

namespace mivaro {

class GraphClickCommands;
class QtHardnessDialogPort;
class QtLoadingCurveDialogPort;
class QtModulusDialogPort;
class QtProgressPort;
class QtTextCursorBuilder;
class TextListSink;
class ViewRepaint;

// The main graph window: owns the graph settings and result text lines,
// paints the document's curves and hands mouse events to the logic.
class CMivaro4View : public QWidget {
    Q_OBJECT

  public:
    explicit CMivaro4View(CMivaro4Doc& doc, QWidget* parent = nullptr);
    ~CMivaro4View() override;

    // Edit menu commands.
    void onUndoText();
    void onTextLine();  // opens the "Text Line" dialog

    ViewSettings& settings() { return m_graph.settings(); }
    const ViewSettings& settings() const { return m_graph.settings(); }
    GraphTextList& textList() { return m_graph.textList(); }
    const GraphTextList& textList() const { return m_graph.textList(); }
    const PlotLayout& plotLayout() const { return m_graph.layout(); }
    MainGraph& graph() { return m_graph; }
    // Where the click commands send their result lines (to beginTextPlacement
    // of the text list), and the graph settings those lines are formatted with.
    ResultTextSink& resultTexts();
    GraphTextStyle textStyle() const;
    CMivaro4Doc& document() { return m_doc; }

    // The analyses a left click on a curve starts, with the Qt dialogs.
    GraphClickCommands& clickCommands() { return *m_clicks; }
    // Where "Add to Graph of E(h)" sends its series; none: the button is greyed.
    void setModulusGraph(ModulusGraphSink* graph);

    // Called with the position of every left release that did not end a
    // text placement; by default the graph click commands.
    void setLeftReleaseHandler(std::function<void(int x, int y)> handler);
    // Told, as the pointer moves, what a left click there would start ("" where
    // it would start nothing, and when the pointer leaves the view).
    void setClickHintHandler(std::function<void(const std::string& hint)> handler);
    // Called with the position of every right release; by default the
    // right-click editing of the graph (editAt).
    void setRightReleaseHandler(std::function<void(int x, int y)> handler);
    // Right-click editing at (x, y) with the geometry of the last paint:
    // Curve Style, X Axis, Y Axis and Axis Titles dialogs as the position
    // calls for them.
    void editAt(int x, int y);
    // Replace the Qt dialogs of the editing (tests answer them); null
    // restores the Qt ones.
    void setGraphDialogs(GraphDialogPort* dialogs);
    void setCurveStyleDialog(CurveStyleDialogPort* dialog);

    // Replaces the Qt dialog (tests answer it); null restores the Qt one.
    void setTextLineDialog(TextLineDialogPort* dialog);
    // Where mask failures are reported; defaults to the document's port.
    void setMessagePort(MessagePort* messages);

    // Draws the whole graph as the window shows it, laid out for a client
    // area of clientSize, into any painter (image, printer, clipboard).
    // The paint rewrites automatic ranges and the layout as on screen.
    void renderGraph(QPainter& painter, QSize clientSize);
    // The client area as an image: white background, graph on top.
    QImage renderImage(QSize clientSize);

    // What a paint of the graph reads from the document.
    GraphData graphData() const;

    // Full repaint with erase.
    void requestRepaint();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void updateCursor();
    void tellHint(const std::string& hint);
    // Moves an analysis dialog beside the points the running click flow is
    // about, so they stay in sight while it is open.
    void placeBesideHighlightedPoints(QWidget& dialog);

    CMivaro4Doc& m_doc;
    MainGraph m_graph;
    std::unique_ptr<QtTextCursorBuilder> m_cursorBuilder;
    std::unique_ptr<TextListSink> m_resultTexts;
    std::unique_ptr<TextLineDialogPort> m_qtTextDialog;
    TextLineDialogPort* m_textDialog = nullptr;
    std::unique_ptr<GraphDialogPort> m_qtGraphDialogs;
    GraphDialogPort* m_graphDialogs = nullptr;
    std::unique_ptr<CurveStyleDialogPort> m_qtCurveStyle;
    CurveStyleDialogPort* m_curveStyle = nullptr;
    std::unique_ptr<ViewRepaint> m_repaint;
    std::unique_ptr<QtModulusDialogPort> m_modulusDialog;
    std::unique_ptr<QtHardnessDialogPort> m_hardnessDialog;
    std::unique_ptr<QtLoadingCurveDialogPort> m_loadingDialog;
    std::unique_ptr<QtProgressPort> m_progress;
    std::unique_ptr<GraphClickCommands> m_clicks;
    std::function<void(int, int)> m_leftRelease;
    std::function<void(int, int)> m_rightRelease;
    std::function<void(const std::string&)> m_hintHandler;
    // How long the pointer rests before the hint is looked up.
    static constexpr int kHintRestMs = 80;
    QTimer* m_hintTimer = nullptr;
    QPoint m_hintAt;
    std::string m_lastHint;
    QImage m_backBuffer;
};

}  // namespace mivaro

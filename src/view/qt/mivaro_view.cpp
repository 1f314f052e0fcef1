#include "view/qt/mivaro_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "analysis/qt/hardness_dialog_qt.h"
#include "analysis/qt/loading_curve_dialog_qt.h"
#include "analysis/qt/modulus_dialog_qt.h"
#include "platform/qt/qt_progress.h"
#include "view/dialog_placement.h"
#include "view/graph_clicks.h"
#include "view/qt/curve_style_dialog_qt.h"
#include "view/qt/graph_dialogs_qt.h"
#include "view/qt/graph_image.h"
#include "view/qt/painter_surface.h"
#include "view/qt/text_cursor_builder.h"
#include "view/qt/text_line_dialog.h"
#include "view/right_click_editing.h"

namespace mivaro {

// Result lines of the click commands go to the view's text list.
class TextListSink final : public ResultTextSink {
  public:
    explicit TextListSink(GraphTextList& list) : m_list(list) {}
    void beginTextPlacement(const std::string& text) override { m_list.beginTextPlacement(text); }

  private:
    GraphTextList& m_list;
};

// The click commands' colour changes show before their dialogs open.
class ViewRepaint final : public RepaintPort {
  public:
    explicit ViewRepaint(QWidget& view) : m_view(view) {}
    void requestRepaint(bool) override { m_view.update(); }

  private:
    QWidget& m_view;
};

namespace {

// Mouse positions can carry fractions (scaled screens); like every other
// conversion to a pixel they are truncated toward zero.
QPoint clientPixel(const QMouseEvent& event) {
    const QPointF at = event.position();
    return QPoint(static_cast<int>(at.x()), static_cast<int>(at.y()));
}

}  // namespace

CMivaro4View::CMivaro4View(CMivaro4Doc& doc, QWidget* parent)
    : QWidget(parent),
      m_doc(doc),
      m_cursorBuilder(std::make_unique<QtTextCursorBuilder>(m_graph.settings())),
      m_resultTexts(std::make_unique<TextListSink>(m_graph.textList())),
      m_qtTextDialog(std::make_unique<QtTextLineDialog>(this)),
      m_textDialog(m_qtTextDialog.get()),
      m_qtGraphDialogs(std::make_unique<QtGraphDialogs>(this)),
      m_graphDialogs(m_qtGraphDialogs.get()),
      m_qtCurveStyle(std::make_unique<QtCurveStyleDialog>(this)),
      m_curveStyle(m_qtCurveStyle.get()),
      m_repaint(std::make_unique<ViewRepaint>(*this)),
      m_modulusDialog(std::make_unique<QtModulusDialogPort>(this)),
      m_hardnessDialog(std::make_unique<QtHardnessDialogPort>(this)),
      m_loadingDialog(std::make_unique<QtLoadingCurveDialogPort>(this)),
      m_progress(std::make_unique<QtProgressPort>(this)),
      m_rightRelease([this](int x, int y) { editAt(x, y); }) {
    GraphClickCommands::Ports ports;
    ports.repaint = m_repaint.get();
    ports.progress = m_progress.get();
    ports.dialogs =
        ClickDialogs{m_loadingDialog.get(), m_hardnessDialog.get(), m_modulusDialog.get(), nullptr};
    m_clicks = std::make_unique<GraphClickCommands>(m_graph, m_doc, ports);
    const DialogPlacer placer = [this](QWidget& dialog) { placeBesideHighlightedPoints(dialog); };
    m_modulusDialog->setPlacer(placer);
    m_hardnessDialog->setPlacer(placer);
    m_loadingDialog->setPlacer(placer);
    m_leftRelease = [this](int x, int y) { m_clicks->leftRelease(x, y); };
    m_hintTimer = new QTimer(this);
    m_hintTimer->setSingleShot(true);
    m_hintTimer->setInterval(kHintRestMs);
    // The rule of the click with the last paint's mapping; nothing is picked.
    connect(m_hintTimer, &QTimer::timeout, this,
            [this] { tellHint(m_clicks->hintAt(m_hintAt.x(), m_hintAt.y())); });
    setMouseTracking(true);  // the text cursor follows every move
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_graph.textList().setCursorBuilder(m_cursorBuilder.get());
    m_graph.textList().setMessagePort(&m_doc.messages());
}

CMivaro4View::~CMivaro4View() = default;

ResultTextSink& CMivaro4View::resultTexts() {
    return *m_resultTexts;
}

GraphTextStyle CMivaro4View::textStyle() const {
    const ViewSettings& s = m_graph.settings();
    return GraphTextStyle{s.labelDecimals, s.fontSize, s.boldText};
}

void CMivaro4View::onUndoText() {
    m_graph.textList().undoText();
    requestRepaint();
}

void CMivaro4View::onTextLine() {
    std::string text;
    if (m_textDialog->askTextLine(text)) {
        m_graph.textList().beginTextPlacement(text);
    }
}

void CMivaro4View::setModulusGraph(ModulusGraphSink* graph) {
    m_clicks->ports().dialogs.modulusGraph = graph;
}

void CMivaro4View::setLeftReleaseHandler(std::function<void(int x, int y)> handler) {
    m_leftRelease = std::move(handler);
}

void CMivaro4View::setClickHintHandler(std::function<void(const std::string& hint)> handler) {
    m_hintHandler = std::move(handler);
}

void CMivaro4View::setRightReleaseHandler(std::function<void(int x, int y)> handler) {
    m_rightRelease = std::move(handler);
}

void CMivaro4View::setTextLineDialog(TextLineDialogPort* dialog) {
    m_textDialog = dialog != nullptr ? dialog : m_qtTextDialog.get();
}

void CMivaro4View::setGraphDialogs(GraphDialogPort* dialogs) {
    m_graphDialogs = dialogs != nullptr ? dialogs : m_qtGraphDialogs.get();
}

void CMivaro4View::setCurveStyleDialog(CurveStyleDialogPort* dialog) {
    m_curveStyle = dialog != nullptr ? dialog : m_qtCurveStyle.get();
}

void CMivaro4View::editAt(int x, int y) {
    const RightClickContext context{
        m_doc.curveSet(), m_graph.settings(), m_graph.layout(), m_doc.xAxisTitle,
        m_doc.yAxisTitle, *m_curveStyle,      *m_graphDialogs,  [this] { requestRepaint(); }};
    editAtRightRelease(context, x, y);
}

void CMivaro4View::setMessagePort(MessagePort* messages) {
    m_graph.textList().setMessagePort(messages != nullptr ? messages : &m_doc.messages());
    m_clicks->ports().messages = messages;
}

GraphData CMivaro4View::graphData() const {
    return GraphData{m_doc.curveSet(), m_doc.indentCurve().nameCount(), m_doc.xAxisTitle, m_doc.yAxisTitle};
}

void CMivaro4View::renderGraph(QPainter& painter, QSize clientSize) {
    PainterSurface surface(painter, ClientRect{0, 0, clientSize.width(), clientSize.height()});
    m_graph.paint(surface, graphData());
}

QImage CMivaro4View::renderImage(QSize clientSize) {
    return renderGraphImage(m_graph, graphData(), clientSize);
}

void CMivaro4View::requestRepaint() {
    update();
}

void CMivaro4View::paintEvent(QPaintEvent*) {
    // One path for screen and PNG: paint into an image, then show it.
    m_backBuffer = renderImage(size());
    QPainter painter(this);
    if (m_backBuffer.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    painter.drawImage(0, 0, m_backBuffer);
}

void CMivaro4View::mousePressEvent(QMouseEvent* event) {
    const QPoint at = clientPixel(*event);
    if (event->button() == Qt::LeftButton) {
        if (m_graph.textList().leftPress(at.x(), at.y())) {
            requestRepaint();
        }
    } else if (event->button() == Qt::RightButton) {
        m_graph.textList().rightPress();
        updateCursor();
    }
}

void CMivaro4View::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = clientPixel(*event);
    if (event->button() == Qt::LeftButton) {
        if (m_graph.textList().leftRelease()) {
            return;  // the click placed (or tried to place) a text
        }
        if (m_leftRelease) {
            m_leftRelease(at.x(), at.y());
            updateCursor();  // a result may now wait on the cursor
        }
    } else if (event->button() == Qt::RightButton) {
        if (m_rightRelease) {
            m_rightRelease(at.x(), at.y());
        }
    }
}

void CMivaro4View::mouseMoveEvent(QMouseEvent* event) {
    updateCursor();
    if (m_hintHandler) {
        // Looked up once the pointer rests: the scan runs over every point of the set.
        m_hintAt = clientPixel(*event);
        m_hintTimer->start();
    }
}

void CMivaro4View::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_hintTimer->stop();
    tellHint({});
}

void CMivaro4View::tellHint(const std::string& hint) {
    if (hint != m_lastHint && m_hintHandler) {
        m_lastHint = hint;
        m_hintHandler(hint);
    }
}

void CMivaro4View::placeBesideHighlightedPoints(QWidget& dialog) {
    const std::optional<int> point = m_clicks->activePoint();
    if (!point || !m_graph.layout().frameDrawn || screen() == nullptr) {
        return;
    }
    const std::optional<PixelBox> run =
        highlightedPointsBox(m_doc.curveSet(), PlotMapping(m_graph.settings(), m_graph.layout()),
                             PixelBox{0, 0, width(), height()}, *point);
    if (!run) {
        return;
    }
    const auto box = [](const QRect& r) {
        return PixelBox{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    };
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    const PixelBox onScreen{run->left + origin.x(), run->top + origin.y(), run->right + origin.x(),
                            run->bottom + origin.y()};
    // The dialog has no frame before it is shown; it gets one like the main window's.
    const QWidget* main = window();
    const int frameWidth = main->frameGeometry().width() - main->width();
    const int frameHeight = main->frameGeometry().height() - main->height();
    const PixelBox placed =
        placeDialogBeside(onScreen, dialog.width() + frameWidth, dialog.height() + frameHeight,
                          box(screen()->availableGeometry()), box(main->frameGeometry()));
    dialog.move(placed.left, placed.top);
}

void CMivaro4View::updateCursor() {
    m_cursorBuilder->applyTo(*this, m_graph.textList());
}

}  // namespace mivaro

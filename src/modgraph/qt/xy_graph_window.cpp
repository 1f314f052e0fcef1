#include "modgraph/qt/xy_graph_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "platform/qt/qt_clipboard.h"
#include "view/dialog_placement.h"
#include "view/qt/graph_image.h"
#include "view/qt/text_cursor_builder.h"
#include "view/qt/text_line_dialog.h"

namespace mivaro {

namespace {

QPoint clientPixel(const QMouseEvent& event) {
    const QPointF at = event.position();
    return QPoint(static_cast<int>(at.x()), static_cast<int>(at.y()));
}

// The character a key types: control letters give 1..26 as on a terminal,
// whatever the platform put into the event's text.
int typedCode(const QKeyEvent& event) {
    const int key = event.key();
    if ((event.modifiers() & Qt::ControlModifier) != 0 && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key - Qt::Key_A + 1;
    }
    const QString text = event.text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

}  // namespace

XYGraphWindow::XYGraphWindow(CXYGraphWnd& graph, GraphDialogPort& dialogs, MessagePort& messages,
                             QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_graph(graph),
      m_dialogs(dialogs),
      m_messages(messages),
      m_qtTextDialog(std::make_unique<QtTextLineDialog>(this)),
      m_textDialog(m_qtTextDialog.get()),
      m_clipboard(std::make_unique<QtClipboardPort>(*this)),
      m_cursorBuilder(std::make_unique<QtTextCursorBuilder>([&graph] { return graph.graphFont(); })) {
    setWindowTitle(QString::fromLatin1(CXYGraphWnd::kCaption));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_QuitOnClose, false);  // closing only hides it
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    const PixelSize size = initialClientSize();
    resize(size.width, size.height);
    m_graph.textList().setCursorBuilder(m_cursorBuilder.get());
    m_graph.textList().setMessagePort(&m_messages);
    updatePorts();
}

XYGraphWindow::~XYGraphWindow() {
    m_graph.setPorts(XYGraphPorts{});
    m_graph.textList().setCursorBuilder(nullptr);
    m_graph.textList().setMessagePort(nullptr);
}

void XYGraphWindow::updatePorts() {
    m_graph.setPorts(XYGraphPorts{this, &m_dialogs, &m_messages, m_textDialog, m_clipboard.get()});
}

void XYGraphWindow::setTextLineDialog(TextLineDialogPort* dialog) {
    m_textDialog = dialog != nullptr ? dialog : m_qtTextDialog.get();
    updatePorts();
}

void XYGraphWindow::requestRepaint() {
    update();
}

void XYGraphWindow::showWindow() {
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    keepOnScreen();
    raise();
    activateWindow();
}

void XYGraphWindow::keepOnScreen() {
    const QRect frame = frameGeometry();
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (screen == nullptr) {
        screen = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize frameExtra = frame.size() - size();
    const QSize fitting = size().boundedTo(area.size() - frameExtra);
    if (fitting != size()) {
        resize(fitting);
    }
    const QRect now = frameGeometry();
    const PixelBox kept = keptInside(PixelBox{now.left(), now.top(), now.right() + 1, now.bottom() + 1},
                                     PixelBox{area.left(), area.top(), area.right() + 1, area.bottom() + 1});
    if (kept.left != now.left() || kept.top != now.top()) {
        move(kept.left, kept.top);
    }
}

void XYGraphWindow::hideWindow() {
    hide();
}

Rgb XYGraphWindow::pixelAt(int x, int y) const {
    if (m_backBuffer.isNull() || !m_backBuffer.rect().contains(x, y)) {
        return makeRgb(255, 255, 255);
    }
    const QRgb p = m_backBuffer.pixel(x, y);
    return makeRgb(qRed(p), qGreen(p), qBlue(p));
}

bool XYGraphWindow::event(QEvent* event) {
    // Claiming every shortcut makes each key arrive here as a key press.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void XYGraphWindow::paintEvent(QPaintEvent*) {
    m_backBuffer = renderSurfaceImage(size(), [this](DrawingSurface& surface) { m_graph.paint(surface); });
    QPainter painter(this);
    if (m_backBuffer.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    painter.drawImage(0, 0, m_backBuffer);
}

void XYGraphWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = clientPixel(*event);
        m_graph.leftPress(at.x(), at.y());
        updateCursor();
    }
}

void XYGraphWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const QPoint at = clientPixel(*event);
        m_graph.rightRelease(at.x(), at.y());
    }
}

void XYGraphWindow::mouseMoveEvent(QMouseEvent*) {
    updateCursor();
}

void XYGraphWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        m_graph.endDialog();
        return;
    }
    const int code = typedCode(*event);
    if (code != 0) {
        m_graph.typedCharacter(code);
        updateCursor();
    }
}

void XYGraphWindow::closeEvent(QCloseEvent* event) {
    m_graph.closeRequest();
    event->accept();
}

void XYGraphWindow::updateCursor() {
    m_cursorBuilder->applyTo(*this, m_graph.textList());
}

}  // namespace mivaro

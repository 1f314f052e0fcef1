#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "modgraph/xy_graph_wnd.h"

namespace mivaro {

class QtClipboardPort;
class QtTextCursorBuilder;
class TextLineDialogPort;

// The "XY-Graph" window: a modeless, resizable top-level window that shows
// the modulus graph and hands its mouse and keys to it. Every key typed here
// is consumed, so no accelerator of the main window fires from it.
class XYGraphWindow final : public QWidget, public XYGraphWindowPort {
    Q_OBJECT

  public:
    // owner: the window it stays above (the main view), may be null.
    XYGraphWindow(CXYGraphWnd& graph, GraphDialogPort& dialogs, MessagePort& messages,
                  QWidget* owner = nullptr);
    ~XYGraphWindow() override;

    // Replaces the Qt "Text Line" dialog (tests answer it); null restores it.
    void setTextLineDialog(TextLineDialogPort* dialog);
    // The picture last shown, as the clipboard and the right-click hint see it.
    const QImage& shownImage() const { return m_backBuffer; }

    // XYGraphWindowPort
    void requestRepaint() override;
    void showWindow() override;
    void hideWindow() override;
    Rgb pixelAt(int x, int y) const override;

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void updatePorts();
    void updateCursor();
    // Moves (and if need be shrinks) the window to lie wholly on its screen.
    void keepOnScreen();

    CXYGraphWnd& m_graph;
    GraphDialogPort& m_dialogs;
    MessagePort& m_messages;
    std::unique_ptr<TextLineDialogPort> m_qtTextDialog;
    TextLineDialogPort* m_textDialog = nullptr;
    std::unique_ptr<QtClipboardPort> m_clipboard;
    std::unique_ptr<QtTextCursorBuilder> m_cursorBuilder;
    QImage m_backBuffer;
};

}  // namespace mivaro

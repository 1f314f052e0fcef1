#pragma once

#include "platform/clipboard_port.h"

class QWidget;

namespace mivaro {

// Copies the client area of one widget (as it is displayed now, without a
// repaint) to the system clipboard as an image. `skipTop` pixels at the top
// are left out (a main window's menu bar is not part of its client area).
class QtClipboardPort : public ClipboardPort {
  public:
    explicit QtClipboardPort(QWidget& window, int skipTop = 0) : m_window(window), m_skipTop(skipTop) {}
    void setSkipTop(int pixels) { m_skipTop = pixels; }
    bool copyClientArea() override;

  private:
    QWidget& m_window;
    int m_skipTop;
};

}  // namespace mivaro

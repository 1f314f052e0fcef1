#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>

namespace mivaro {

bool QtClipboardPort::copyClientArea() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    const QRect area(0, m_skipTop, m_window.width(), m_window.height() - m_skipTop);
    if (area.width() <= 0 || area.height() <= 0)
        return false;
    const QPixmap picture = m_window.grab(area);
    if (picture.isNull())
        return false;
    clipboard->setImage(picture.toImage());
    return true;
}

}  // namespace mivaro

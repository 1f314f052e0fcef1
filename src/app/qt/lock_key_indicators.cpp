#include "app/qt/lock_key_indicators.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStatusBar>

#include "app/qt/x11_lock_state.h"

namespace mivaro {

LockKeyIndicators::LockKeyIndicators(QStatusBar& statusBar) : QObject(&statusBar) {
    m_caps = addPane(statusBar, "CAP");
    m_num = addPane(statusBar, "NUM");
    m_scroll = addPane(statusBar, "SCRL");
    qApp->installEventFilter(this);
    refresh();
}

QLabel* LockKeyIndicators::addPane(QStatusBar& statusBar, const QString& text) {
    auto* pane = new QLabel(text, &statusBar);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance("SCRL") + 12);
    statusBar.addPermanentWidget(pane);
    return pane;
}

void LockKeyIndicators::refresh() {
    bool caps = m_capsOn;
    bool num = m_numOn;
    bool scroll = m_scrollOn;
    queryX11LockState(caps, num, scroll);
    m_caps->setEnabled(caps);
    m_num->setEnabled(num);
    m_scroll->setEnabled(scroll);
}

bool LockKeyIndicators::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The application filter sees a key event once per widget it is
        // offered to; count each press of a lock key once.
        const bool seen = key->timestamp() == m_lastKeyTimestamp && key->key() == m_lastKey;
        m_lastKeyTimestamp = key->timestamp();
        m_lastKey = key->key();
        if (!key->isAutoRepeat() && !seen) {
            switch (key->key()) {
                case Qt::Key_CapsLock:
                    m_capsOn = !m_capsOn;
                    break;
                case Qt::Key_NumLock:
                    m_numOn = !m_numOn;
                    break;
                case Qt::Key_ScrollLock:
                    m_scrollOn = !m_scrollOn;
                    break;
                default:
                    break;
            }
        }
        refresh();
    } else if (event->type() == QEvent::ApplicationActivate) {
        refresh();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace mivaro

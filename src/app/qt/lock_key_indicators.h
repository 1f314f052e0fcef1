#pragma once

#include <QLabel>
#include <QObject>

class QStatusBar;

namespace mivaro {

// The "CAP", "NUM" and "SCRL" panes of the status bar: each text is greyed
// while its lock is off. The lock state is asked of the X server where there
// is one; elsewhere it follows the lock keys pressed while the program runs.
class LockKeyIndicators final : public QObject {
    Q_OBJECT

  public:
    explicit LockKeyIndicators(QStatusBar& statusBar);

    QLabel* capsPane() const { return m_caps; }
    QLabel* numPane() const { return m_num; }
    QLabel* scrollPane() const { return m_scroll; }

    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* addPane(QStatusBar& statusBar, const QString& text);

    QLabel* m_caps;
    QLabel* m_num;
    QLabel* m_scroll;
    bool m_capsOn = false;  // used only without an X server to ask
    bool m_numOn = false;
    bool m_scrollOn = false;
    quint64 m_lastKeyTimestamp = 0;
    int m_lastKey = 0;
};

}  // namespace mivaro

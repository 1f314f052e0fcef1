#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <memory>

#include "platform/progress_port.h"

class QProgressDialog;
class QWidget;

namespace mivaro {

// A modal wait dialog with Cancel, shown only once the work has run longer
// than half a second; quick work shows nothing.
class QtProgressPort final : public ProgressPort {
  public:
    static constexpr int kShowAfterMs = 500;

    explicit QtProgressPort(QWidget* parent);
    ~QtProgressPort() override;

    void begin(const std::string& text, int total) override;
    bool advance(int done) override;
    void end() override;

  private:
    QPointer<QWidget> m_parent;
    QElapsedTimer m_clock;
    QString m_text;
    int m_total = 0;
    std::unique_ptr<QProgressDialog> m_dialog;
};

}  // namespace mivaro

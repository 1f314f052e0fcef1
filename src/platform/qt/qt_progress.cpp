#include "platform/qt/qt_progress.h"

#include <QApplication>
#include <QProgressDialog>

namespace mivaro {

QtProgressPort::QtProgressPort(QWidget* parent) : m_parent(parent) {}

QtProgressPort::~QtProgressPort() = default;

void QtProgressPort::begin(const std::string& text, int total) {
    m_text = QString::fromStdString(text);
    m_total = total;
    m_dialog.reset();
    m_clock.start();
}

bool QtProgressPort::advance(int done) {
    if (!m_dialog) {
        if (m_clock.elapsed() < kShowAfterMs || done >= m_total) {
            return true;
        }
        m_dialog = std::make_unique<QProgressDialog>(m_text, QStringLiteral("Cancel"), 0, m_total, m_parent);
        m_dialog->setWindowTitle(QStringLiteral("Please wait"));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->show();
    }
    m_dialog->setValue(done);
    // The dialog is modal: only its Cancel button takes input meanwhile.
    QApplication::processEvents();
    return !m_dialog->wasCanceled();
}

void QtProgressPort::end() {
    m_dialog.reset();
}

}  // namespace mivaro

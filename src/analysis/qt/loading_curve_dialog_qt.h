#pragma once

#include <QDialog>
#include <QPointer>
#include <utility>

#include "analysis/analysis_dialogs.h"
#include "analysis/qt/dialog_fields.h"

class QLineEdit;

namespace mivaro {

// "Loading Curve ": the curve label or one of the two rates.
class LoadingCurveDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit LoadingCurveDialog(const LoadingCurveValues& values, QWidget* parent = nullptr);

    // The label as left and the action of the button pressed (after Accepted).
    Acted<LoadingCurveValues> answer() const;

  private:
    void finish(int action);

    LoadingCurveValues m_values;
    int m_action = kLoadingNone;
    QLineEdit* m_label;
};

class QtLoadingCurveDialogPort final : public LoadingCurveDialogPort {
  public:
    explicit QtLoadingCurveDialogPort(QWidget* parent) : m_parent(parent) {}
    std::optional<Acted<LoadingCurveValues>> askLoadingCurve(const LoadingCurveValues& values) override;

    void setPlacer(DialogPlacer placer) { m_placer = std::move(placer); }

  private:
    QPointer<QWidget> m_parent;
    DialogPlacer m_placer;
};

}  // namespace mivaro

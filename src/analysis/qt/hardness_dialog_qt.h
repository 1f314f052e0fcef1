#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <utility>

#include "analysis/analysis_dialogs.h"
#include "analysis/qt/dialog_fields.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace mivaro {

// "Hardness": the formula, the two area equations of the indenter, the
// compliance, epsilon and whether the hold time goes into the result.
class HardnessDialog final : public QDialog {
    Q_OBJECT

  public:
    static constexpr const char* kNoFormulaText = "Choose a formula (HM, HV or HRA) before OK.";

    explicit HardnessDialog(const HardnessSettings& settings, QWidget* parent = nullptr);

    HardnessSettings values() const { return m_values; }

    // "OK": only with a formula chosen.
    void accept() override;

  private:
    HardnessSettings m_values;
    std::array<QRadioButton*, 3> m_formula{};
    QLineEdit* m_c0;
    QLineEdit* m_c1;
    QLineEdit* m_d0;
    QLineEdit* m_d1;
    QLineEdit* m_compliance;
    QLineEdit* m_epsilon;
    QCheckBox* m_includeHoldTime;
    QLabel* m_noFormula;
};

class QtHardnessDialogPort final : public HardnessDialogPort {
  public:
    explicit QtHardnessDialogPort(QWidget* parent) : m_parent(parent) {}
    std::optional<HardnessSettings> askHardness(const HardnessSettings& settings) override;

    void setPlacer(DialogPlacer placer) { m_placer = std::move(placer); }

  private:
    QPointer<QWidget> m_parent;
    DialogPlacer m_placer;
};

}  // namespace mivaro

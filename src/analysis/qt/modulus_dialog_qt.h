#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <utility>

#include "analysis/analysis_dialogs.h"
#include "analysis/qt/dialog_fields.h"

class QLineEdit;
class QRadioButton;

namespace mivaro {

// "Elastic Modulus and Poisson's Ratio Calculation".
class ModulusDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit ModulusDialog(const ModulusDialogValues& values, QWidget* parent = nullptr);

    // The values as edited and the action that ended the dialog (after Accepted).
    Acted<ModulusDialogValues> answer() const;

    // "Calculate".
    void accept() override;

    // Where "Advanced " opens.
    void setPlacer(DialogPlacer placer) { m_placer = std::move(placer); }

  private:
    void chooseSolveFor(int choice);
    void openAdvanced();
    // Takes the fields into the values and closes with the action; stays open
    // while a float field does not hold a number.
    void finish(int action);

    ModulusDialogValues m_values;
    DialogPlacer m_placer;
    int m_action = kActionModulus;
    QLineEdit* m_c0;
    QLineEdit* m_c1;
    std::array<QLineEdit*, 4> m_known{};  // Es, Vs, Ei, Vi
    std::array<QRadioButton*, 4> m_solveFor{};
    QLineEdit* m_forceMinimum;
    QLineEdit* m_forceMaximum;
    QLineEdit* m_compliance;
    QLineEdit* m_epsilon;
};

class QtModulusDialogPort final : public ModulusDialogPort {
  public:
    explicit QtModulusDialogPort(QWidget* parent) : m_parent(parent) {}
    std::optional<Acted<ModulusDialogValues>> askModulus(const ModulusDialogValues& values) override;

    void setPlacer(DialogPlacer placer) { m_placer = std::move(placer); }

  private:
    QPointer<QWidget> m_parent;
    DialogPlacer m_placer;
};

}  // namespace mivaro

#pragma once

#include <QDialog>
#include <QPointer>

#include "app/app_dialogs.h"

class QLineEdit;

namespace mivaro {

// "Indentation Machine Setup": one number, the force instability in mN.
class MachineSetupDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit MachineSetupDialog(const MachineSetupValues& values, QWidget* parent = nullptr);

    MachineSetupValues values() const { return m_values; }
    QLineEdit* valueField() const { return m_field; }

    void accept() override;

  private:
    MachineSetupValues m_values;
    QLineEdit* m_field;
};

// The About box.
class AboutDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

// The Setup Help Screen: the click map of the main graph.
class SetupHelpDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit SetupHelpDialog(QWidget* parent = nullptr);
};

class QtAppDialogs final : public AppDialogs {
  public:
    explicit QtAppDialogs(QWidget* parent) : m_parent(parent) {}
    DialogAction editMachineSetup(MachineSetupValues& values) override;
    void showSetupHelpScreen() override;
    void showAbout() override;

  private:
    QPointer<QWidget> m_parent;
};

}  // namespace mivaro

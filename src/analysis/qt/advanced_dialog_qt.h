#pragma once

#include <QDialog>
#include <QPointer>

#include "analysis/analysis_dialogs.h"

class QCheckBox;
class QLineEdit;

namespace mivaro {

// "Advanced ": the rate, equation and section actions of the modulus dialog.
// Each action button ends it with its code; Enter counts as "Calculate" (1).
class AdvancedDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit AdvancedDialog(const AdvancedDialogValues& values, QWidget* parent = nullptr);

    // The values as left and the action that ended the dialog (after Accepted).
    Acted<AdvancedDialogValues> answer() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void finish(int action);

    AdvancedDialogValues m_values;
    int m_action = kActionModulus;
    QLineEdit* m_top;
    QLineEdit* m_sectionSize;
    QLineEdit* m_bottom;
    QCheckBox* m_zeroStartDepth;
};

// The small picture beside the section text: an unloading curve with the
// top (T), a section (S) and the bottom (B) marked.
class UnloadingSketch final : public QWidget {
    Q_OBJECT

  public:
    explicit UnloadingSketch(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {120, 96}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace mivaro

#pragma once

#include <QDialog>

#include "curves/import_preview.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QLineEdit;
class QPlainTextEdit;

namespace mivaro {

// "Import Indentation Test Data Text File Setup": the column setup with a live
// preview of the sample. Leaving a number box, a separator or decimal radio
// button and either check box rebuild the preview; the unit radio buttons are
// only stored; "Guess" derives the setup from the sample. A line under the
// preview says whether the file is a recognised instrument export;
// "Recognise" takes its units and makes OK convert through the recogniser.
class ImportSetupWindow final : public QDialog {
    Q_OBJECT

  public:
    ImportSetupWindow(const ImportDialogState& state, QWidget* parent = nullptr);
    ~ImportSetupWindow() override;

    const ImportDialogState& state() const { return m_state; }

    // The preview texts as shown: valid UTF-8 as such, else Windows-1252,
    // with the column marker drawn as a bar and other control codes visible.
    static QString displayText(const std::string& bytes);

  private:
    void rebuildPreview();
    void guess();
    void recognise();
    // Takes the controls into the state; false (with the standard message)
    // when a number box does not hold an integer.
    bool readControls();
    void showState();
    void done(int result) override;

    ImportDialogState m_state;
    bool m_warning = false;  // the integer message is up: focus changes must not raise another
    QLineEdit* m_headerLines = nullptr;
    QLineEdit* m_displacementColumn = nullptr;
    QLineEdit* m_forceColumn = nullptr;
    QLineEdit* m_timeColumn = nullptr;
    QLineEdit* m_segmentColumn = nullptr;
    QLineEdit* m_otherSeparator = nullptr;
    QCheckBox* m_timePresent = nullptr;
    QCheckBox* m_segmentPresent = nullptr;
    QButtonGroup* m_separator = nullptr;
    QButtonGroup* m_decimal = nullptr;
    QButtonGroup* m_depthUnit = nullptr;
    QButtonGroup* m_forceUnit = nullptr;
    QPlainTextEdit* m_preview = nullptr;
    QLabel* m_recognition = nullptr;
    QPushButton* m_recognise = nullptr;
    QPlainTextEdit* m_displacementPreview = nullptr;
    QPlainTextEdit* m_forcePreview = nullptr;
    QPlainTextEdit* m_timePreview = nullptr;
    QPlainTextEdit* m_segmentPreview = nullptr;
};

// The dialog port answered by the Qt dialog.
class QtImportSetupDialog final : public ImportSetupDialogPort {
  public:
    explicit QtImportSetupDialog(QWidget* parent) : m_parent(parent) {}
    std::optional<ImportDialogState> askImportSetup(const ImportDialogState& state) override;

  private:
    QWidget* m_parent;
};

}  // namespace mivaro

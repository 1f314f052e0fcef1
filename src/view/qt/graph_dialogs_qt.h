#pragma once

#include <QDialog>
#include <QPointer>

#include "platform/message_port.h"
#include "view/graph_dialogs.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace mivaro {

// The "X Axis" or "Y Axis" dialog: three Auto check boxes beside the minimum,
// maximum and major unit fields, and the decimal precision. Typing in a field
// clears the Auto box of its row; OK reads the fields in order and keeps the
// dialog open at the first one that is not valid.
class AxisDialog : public QDialog {
    Q_OBJECT

  public:
    enum class Axis { X, Y };
    AxisDialog(Axis axis, const AxisDialogValues& values, QWidget* parent = nullptr);

    // Where the messages about invalid fields go; null shows a message box.
    void setMessagePort(MessagePort* messages) { m_messages = messages; }
    // The values read by the last successful OK.
    const AxisDialogValues& values() const { return m_values; }

    void accept() override;

  private:
    AxisDialogValues m_values;
    QCheckBox* m_autoMin;
    QCheckBox* m_autoMax;
    QCheckBox* m_autoMajor;
    QLineEdit* m_min;
    QLineEdit* m_max;
    QLineEdit* m_major;
    QLineEdit* m_decimals;
    MessagePort* m_messages = nullptr;
};

// The "Axis Titles" dialog: font size (an editable list), bold, and the two
// axis labels.
class AxisTitlesDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AxisTitlesDialog(const AxisTitlesValues& values, QWidget* parent = nullptr);

    void setMessagePort(MessagePort* messages) { m_messages = messages; }
    const AxisTitlesValues& values() const { return m_values; }

    void accept() override;

  private:
    AxisTitlesValues m_values;
    QComboBox* m_fontSize;
    QCheckBox* m_bold;
    QLineEdit* m_xLabel;
    QLineEdit* m_yLabel;
    MessagePort* m_messages = nullptr;
};

// The three dialogs as the graph windows ask them, modal over `parent`.
class QtGraphDialogs final : public GraphDialogPort {
  public:
    explicit QtGraphDialogs(QWidget* parent) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    std::optional<AxisDialogValues> askXAxis(const AxisDialogValues& values) override;
    std::optional<AxisDialogValues> askYAxis(const AxisDialogValues& values) override;
    std::optional<AxisTitlesValues> askAxisTitles(const AxisTitlesValues& values) override;

  private:
    QPointer<QWidget> m_parent;
};

// Tells the user about a refused field: through the port when there is one,
// else in a warning box over `dialog` with the dialog's caption.
void reportDialogProblem(QDialog& dialog, MessagePort* messages, const std::string& text);

}  // namespace mivaro

#include "view/qt/graph_dialogs_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "view/graph_dialog_rules.h"

namespace mivaro {

namespace {

QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

// OK (the default) above Cancel, at the dialog's right.
QVBoxLayout* okCancelColumn(QDialog& dialog) {
    auto* column = new QVBoxLayout;
    auto* ok = new QPushButton("OK", &dialog);
    auto* cancel = new QPushButton("Cancel", &dialog);
    ok->setObjectName("ok");
    cancel->setObjectName("cancel");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    column->addWidget(ok);
    column->addWidget(cancel);
    column->addStretch();
    return column;
}

QLineEdit* numberField(QDialog& dialog, const char* name, const std::string& text) {
    auto* field = new QLineEdit(toQt(text), &dialog);
    field->setObjectName(name);
    field->setMinimumWidth(110);
    return field;
}

QCheckBox* autoBox(QDialog& dialog, const char* name, const char* text, int flag) {
    auto* box = new QCheckBox(text, &dialog);
    box->setObjectName(name);
    box->setChecked(flag == 1);
    return box;
}

void focusField(QLineEdit& field) {
    field.setFocus(Qt::OtherFocusReason);
    field.selectAll();
}

}  // namespace

void reportDialogProblem(QDialog& dialog, MessagePort* messages, const std::string& text) {
    if (messages != nullptr) {
        messages->showMessage(text, dialog.windowTitle().toStdString());
        return;
    }
    QMessageBox::warning(&dialog, dialog.windowTitle(), toQt(text));
}

AxisDialog::AxisDialog(Axis axis, const AxisDialogValues& values, QWidget* parent)
    : QDialog(parent), m_values(values) {
    const bool x = axis == Axis::X;
    setWindowTitle(x ? "X Axis" : "Y Axis");
    const AxisFieldTexts texts = axisFieldTexts(values);
    // The X dialog's boxes carry a trailing blank, as they always have.
    m_autoMin = autoBox(*this, "autoMin", x ? "Minimum " : "Minimum", values.autoMin);
    m_autoMax = autoBox(*this, "autoMax", x ? "Maximum " : "Maximum", values.autoMax);
    m_autoMajor = autoBox(*this, "autoMajor", "Major Units :", values.autoMajor);
    m_min = numberField(*this, "min", texts.min);
    m_max = numberField(*this, "max", texts.max);
    m_major = numberField(*this, "major", texts.major);
    m_decimals = numberField(*this, "labelDecimals", texts.labelDecimals);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Auto", this), 0, 0);
    grid->addWidget(new QLabel(x ? "X-Axis" : "Y-Axis", this), 0, 1);
    grid->addWidget(m_autoMin, 1, 0);
    grid->addWidget(m_min, 1, 1);
    grid->addWidget(m_autoMax, 2, 0);
    grid->addWidget(m_max, 2, 1);
    grid->addWidget(m_autoMajor, 3, 0);
    grid->addWidget(m_major, 3, 1);
    grid->addWidget(new QLabel("Decimal Precision :", this), 4, 0);
    grid->addWidget(m_decimals, 4, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(okCancelColumn(*this));
    setSizeGripEnabled(false);

    // Only the user's edits clear a box: textEdited is not sent by setText.
    for (auto [field, box] :
         {std::pair{m_min, m_autoMin}, std::pair{m_max, m_autoMax}, std::pair{m_major, m_autoMajor}}) {
        connect(field, &QLineEdit::textEdited, box, [box = box] { box->setChecked(false); });
    }
}

void AxisDialog::accept() {
    AxisDialogValues flags = m_values;
    flags.autoMin = m_autoMin->isChecked() ? 1 : 0;
    flags.autoMax = m_autoMax->isChecked() ? 1 : 0;
    flags.autoMajor = m_autoMajor->isChecked() ? 1 : 0;
    const AxisFieldTexts texts{m_min->text().toStdString(), m_max->text().toStdString(),
                               m_major->text().toStdString(), m_decimals->text().toStdString()};
    const AxisReadResult read = readAxisFields(flags, texts);
    if (!read.values) {
        reportDialogProblem(*this, m_messages, read.message);
        QLineEdit* fields[] = {m_min, m_max, m_major, m_decimals};
        focusField(*fields[static_cast<int>(read.failedField)]);
        return;
    }
    m_values = *read.values;
    QDialog::accept();
}

AxisTitlesDialog::AxisTitlesDialog(const AxisTitlesValues& values, QWidget* parent)
    : QDialog(parent), m_values(values) {
    setWindowTitle("Axis Titles");
    m_fontSize = new QComboBox(this);
    m_fontSize->setObjectName("fontSize");
    m_fontSize->setEditable(true);
    m_fontSize->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : kFontSizeItems) {
        m_fontSize->addItem(item);
    }
    m_fontSize->setEditText(QString::number(values.fontSize));
    m_bold = autoBox(*this, "bold", "Bold", values.bold);
    m_xLabel = new QLineEdit(toQt(values.xLabel), this);
    m_xLabel->setObjectName("xLabel");
    m_yLabel = new QLineEdit(toQt(values.yLabel), this);
    m_yLabel->setObjectName("yLabel");
    m_xLabel->setMinimumWidth(240);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Font Size :", this), 0, 0);
    grid->addWidget(m_fontSize, 0, 1, Qt::AlignLeft);
    grid->addWidget(m_bold, 1, 1);
    grid->addWidget(new QLabel("X Label :", this), 2, 0);
    grid->addWidget(m_xLabel, 2, 1);
    grid->addWidget(new QLabel("Y Label :", this), 3, 0);
    grid->addWidget(m_yLabel, 3, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(okCancelColumn(*this));
}

void AxisTitlesDialog::accept() {
    const TitlesReadResult read =
        readAxisTitles(m_fontSize->currentText().toStdString(), m_bold->isChecked() ? 1 : 0,
                       m_xLabel->text().toStdString(), m_yLabel->text().toStdString());
    if (!read.values) {
        reportDialogProblem(*this, m_messages, read.message);
        return;
    }
    m_values = *read.values;
    QDialog::accept();
}

std::optional<AxisDialogValues> QtGraphDialogs::askXAxis(const AxisDialogValues& values) {
    AxisDialog dialog(AxisDialog::Axis::X, values, m_parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.values();
}

std::optional<AxisDialogValues> QtGraphDialogs::askYAxis(const AxisDialogValues& values) {
    AxisDialog dialog(AxisDialog::Axis::Y, values, m_parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.values();
}

std::optional<AxisTitlesValues> QtGraphDialogs::askAxisTitles(const AxisTitlesValues& values) {
    AxisTitlesDialog dialog(values, m_parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.values();
}

}  // namespace mivaro

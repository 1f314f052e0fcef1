#include "analysis/qt/dialog_fields.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <cmath>

#include "platform/c_format.h"

namespace mivaro {

bool parseFloatField(const QString& text, float& value) {
    const std::string trimmed = text.trimmed().toStdString();
    double parsed = 0;
    std::size_t consumed = 0;
    if (trimmed.empty() || !scanCDouble(trimmed, parsed, &consumed) || consumed != trimmed.size() ||
        !std::isfinite(parsed)) {
        return false;
    }
    value = static_cast<float>(parsed);
    return std::isfinite(value);
}

QString floatFieldText(float value) {
    return toQt(formatC("%g", static_cast<double>(value)));
}

void refuseFloatField(QWidget* dialog, QLineEdit* field) {
    QMessageBox::information(dialog, dialog->windowTitle(), QStringLiteral("Please enter a number."));
    field->setFocus();
    field->selectAll();
}

QLineEdit* textField(const std::string& text, const char* objectName, int widthChars) {
    auto* field = new QLineEdit(toQt(text));
    field->setObjectName(QString::fromLatin1(objectName));
    const QFontMetrics metrics(field->font());
    field->setFixedWidth(metrics.horizontalAdvance(QLatin1Char('0')) * widthChars + 12);
    return field;
}

void addAreaEquationRow(QBoxLayout* row, const QString& prefix, QLineEdit* c0, QLineEdit* c1) {
    row->addWidget(new QLabel(prefix));
    row->addWidget(c0);
    // The exponent stands raised beside the h.
    auto* squared = new QLabel(QStringLiteral("h<sup>2</sup>"));
    squared->setTextFormat(Qt::RichText);
    row->addWidget(squared);
    row->addWidget(new QLabel(QStringLiteral("+")));
    row->addWidget(c1);
    row->addWidget(new QLabel(QStringLiteral("h")));
    row->addStretch(1);
}

void placeDialog(QWidget& dialog, const DialogPlacer& placer) {
    if (placer) {
        dialog.adjustSize();
        placer(dialog);
    }
}

}  // namespace mivaro

#pragma once

#include <QString>
#include <functional>
#include <string>

class QBoxLayout;
class QLineEdit;
class QWidget;

namespace mivaro {

// The whole field must be one finite number; "0.5x" is not 0.5.
bool parseFloatField(const QString& text, float& value);

// A float as its field shows it ("50", "12.5").
QString floatFieldText(float value);

// Tells that a float field does not hold a number and puts the cursor in it.
void refuseFloatField(QWidget* dialog, QLineEdit* field);

// A text field holding a value as typed, named for lookups.
QLineEdit* textField(const std::string& text, const char* objectName, int widthChars = 7);

// "Ap (h) = [C0] h² + [C1] h" on one row.
void addAreaEquationRow(QBoxLayout* row, const QString& prefix, QLineEdit* c0, QLineEdit* c1);

// Moves a dialog, sized to its contents, before it opens; the main view
// puts the analysis dialogs beside the points they are about.
using DialogPlacer = std::function<void(QWidget& dialog)>;

// Sizes the dialog and hands it to the placer, if there is one.
void placeDialog(QWidget& dialog, const DialogPlacer& placer);

inline QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string fromQt(const QString& text) {
    return text.toStdString();
}

}  // namespace mivaro

#include "view/qt/text_line_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mivaro {

bool QtTextLineDialog::askTextLine(std::string& text) {
    QDialog dialog(m_parent);
    dialog.setWindowTitle(QStringLiteral("Text Line"));
    dialog.setObjectName(QStringLiteral("TextLineDialog"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(QStringLiteral("Enter Text:"), &dialog);
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("textEdit"));
    label->setBuddy(edit);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    text = edit->text().toStdString();
    return true;
}

}  // namespace mivaro

#include "app/qt/app_dialogs_qt.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "analysis/qt/dialog_fields.h"
#include "app/qt/click_map_picture.h"
#include "app/qt/toolbar_icons.h"
#include "platform/c_format.h"

namespace mivaro {

MachineSetupDialog::MachineSetupDialog(const MachineSetupValues& values, QWidget* parent)
    : QDialog(parent), m_values(values) {
    setWindowTitle("Indentation Machine Setup");
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Test Machine Force Instability During Hold Time :"), 0, 0);
    m_field =
        new QLineEdit(QString::fromStdString(formatC("%g", static_cast<double>(values.forceInstabilityMn))));
    m_field->setObjectName("forceInstability");
    grid->addWidget(m_field, 0, 1);
    grid->addWidget(new QLabel("+/- mN"), 0, 2);
    grid->addWidget(new QLabel("note: This value is used to find the start point of the unloading data."), 1,
                    0, 1, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void MachineSetupDialog::accept() {
    float value = 0;
    if (!parseFloatField(m_field->text(), value)) {
        QMessageBox::information(this, windowTitle(), "Please enter a number.");
        m_field->setFocus();
        m_field->selectAll();
        return;
    }
    m_values.forceInstabilityMn = value;
    QDialog::accept();
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Mivaro");
    // The box's own face; where it is not installed the desktop's sans stands in.
    QFont face("MS Sans Serif", 8);
    face.setStyleHint(QFont::SansSerif);
    setFont(face);
    auto* icon = new QLabel;
    icon->setPixmap(programIcon(32));
    auto* name = new QLabel("<b>Mivaro</b>");
    auto* text = new QLabel(
        "<p>If you use this software in your work, please cite Mivaro, version 6.1, in your "
        "publications.</p>"
        "<p>We offer demonstrations, training and custom software for instrumented indentation.</p>"
        "<p><b>Contact Information:</b><br>"
        "The Mivaro developers<br>"
        "E-mail: mivaro@example.net<br>"
        "Web: https://mivaro.example.net/mivaro/</p>"
        "<p>Please contact us if you have any questions.</p>");
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(text, 1, 1);
    layout->addWidget(ok, 2, 1, Qt::AlignRight);
    setMinimumWidth(360);
}

SetupHelpDialog::SetupHelpDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Setup Help Screen");
    auto* picture = new QLabel;
    picture->setPixmap(clickMapPicture());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture);
}

DialogAction QtAppDialogs::editMachineSetup(MachineSetupValues& values) {
    MachineSetupDialog dialog(values, m_parent);
    if (dialog.exec() != QDialog::Accepted) {
        return DialogAction::Cancel;
    }
    values = dialog.values();
    return DialogAction::Ok;
}

void QtAppDialogs::showSetupHelpScreen() {
    SetupHelpDialog dialog(m_parent);
    dialog.exec();
}

void QtAppDialogs::showAbout() {
    AboutDialog dialog(m_parent);
    dialog.exec();
}

}  // namespace mivaro

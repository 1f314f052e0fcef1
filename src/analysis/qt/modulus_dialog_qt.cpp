#include "analysis/qt/modulus_dialog_qt.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/qt/advanced_dialog_qt.h"
#include "analysis/qt/dialog_fields.h"

namespace mivaro {

namespace {

QLineEdit* readOnlyField(const std::string& text, const char* objectName) {
    auto* field = new QLineEdit(toQt(text));
    field->setObjectName(QString::fromLatin1(objectName));
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    // Shown on the dialog's own background: nothing to type here.
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
    return field;
}

}  // namespace

ModulusDialog::ModulusDialog(const ModulusDialogValues& values, QWidget* parent)
    : QDialog(parent), m_values(values) {
    setWindowTitle(QStringLiteral("Elastic Modulus and Poisson's Ratio Calculation"));
    setObjectName(QStringLiteral("ModulusDialog"));
    const ModulusSettings& s = values.settings;
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(readOnlyField(values.fileTitle, "fileTitle"));
    layout->addWidget(readOnlyField(values.branchName, "branchName"));

    layout->addWidget(new QLabel(QStringLiteral("Indenter Projected Area Equation:")));
    m_c0 = textField(s.C0, "C0");
    m_c1 = textField(s.C1, "C1");
    auto* area = new QHBoxLayout;
    addAreaEquationRow(area, QStringLiteral("Ap (h) ="), m_c0, m_c1);
    layout->addLayout(area);

    layout->addWidget(new QLabel(QStringLiteral("Known Values:")));
    const char* names[] = {"Es", "Vs", "Ei", "Vi"};
    const std::string* texts[] = {&s.Es, &s.Vs, &s.Ei, &s.Vi};
    auto* solveGroup = new QButtonGroup(this);
    auto* known = new QHBoxLayout;
    for (int side = 0; side < 2; ++side) {
        auto* box = new QGroupBox(side == 0 ? QStringLiteral("Sample:") : QStringLiteral("Indenter:"));
        auto* grid = new QGridLayout(box);
        for (int row = 0; row < 2; ++row) {
            const int k = 2 * side + row;
            m_solveFor[k] = new QRadioButton(QStringLiteral("Solve for ") + QString::fromLatin1(names[k]));
            m_solveFor[k]->setObjectName(QStringLiteral("solveFor") + QString::fromLatin1(names[k]));
            solveGroup->addButton(m_solveFor[k], k);
            m_known[k] = textField(*texts[k], names[k]);
            grid->addWidget(m_solveFor[k], row, 0);
            grid->addWidget(m_known[k], row, 1);
            // The moduli carry their unit; the ratios have none.
            grid->addWidget(new QLabel(row == 0 ? QStringLiteral("GPa") : QString()), row, 2);
        }
        known->addWidget(box);
    }
    layout->addLayout(known);
    connect(solveGroup, &QButtonGroup::idClicked, this, [this](int k) { chooseSolveFor(k); });

    auto* range = new QGridLayout;
    m_forceMinimum = textField("", "forceMinimum", 5);
    m_forceMinimum->setText(floatFieldText(s.forceMinPercent));
    m_forceMaximum = textField("", "forceMaximum", 5);
    m_forceMaximum->setText(floatFieldText(s.forceMaxPercent));
    range->addWidget(new QLabel(QStringLiteral("Force Range Data:")), 1, 0);
    range->addWidget(new QLabel(QStringLiteral("Minimum")), 0, 1);
    range->addWidget(m_forceMinimum, 1, 1);
    range->addWidget(new QLabel(QStringLiteral("% to")), 1, 2);
    range->addWidget(new QLabel(QStringLiteral("Maximum")), 0, 3);
    range->addWidget(m_forceMaximum, 1, 3);
    range->addWidget(new QLabel(QStringLiteral("%")), 1, 4);
    range->setColumnStretch(5, 1);
    layout->addLayout(range);

    auto* material = new QGridLayout;
    m_compliance = textField(s.Cf, "compliance");
    m_epsilon = textField(s.epsilon, "epsilon");
    material->addWidget(new QLabel(QStringLiteral("Machine Frame Compliance :")), 0, 0);
    material->addWidget(m_compliance, 0, 1);
    material->addWidget(new QLabel(QStringLiteral("nm/mN")), 0, 2);
    material->addWidget(new QLabel(QStringLiteral("Sneddon's Material Epsilon (default 0):")), 1, 0);
    material->addWidget(m_epsilon, 1, 1);
    material->setColumnStretch(3, 1);
    layout->addLayout(material);

    auto* advanced = new QPushButton(QStringLiteral("Advanced"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* calculate = new QPushButton(QStringLiteral("Calculate"));
    advanced->setAutoDefault(false);
    cancel->setAutoDefault(false);
    calculate->setDefault(true);
    connect(advanced, &QPushButton::clicked, this, &ModulusDialog::openAdvanced);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(calculate, &QPushButton::clicked, this, &ModulusDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(advanced);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(calculate);
    layout->addLayout(buttons);

    // A choice outside 0..3 read from a settings file selects nothing.
    if (s.solveFor >= 0 && s.solveFor < 4) {
        m_solveFor[static_cast<std::size_t>(s.solveFor)]->setChecked(true);
    }
    chooseSolveFor(s.solveFor);
}

void ModulusDialog::chooseSolveFor(int choice) {
    m_values.settings.solveFor = choice;
    for (int k = 0; k < 4; ++k) {
        m_known[static_cast<std::size_t>(k)]->setEnabled(k != choice);
    }
}

void ModulusDialog::openAdvanced() {
    AdvancedDialog advanced(advancedValuesOf(m_values.settings, m_values.sectionGraphAvailable), this);
    placeDialog(advanced, m_placer);
    if (advanced.exec() != QDialog::Accepted) {
        return;
    }
    const Acted<AdvancedDialogValues> answer = advanced.answer();
    applyAdvancedValues(m_values.settings, answer.values);
    finish(answer.action);
}

void ModulusDialog::accept() {
    finish(kActionModulus);
}

void ModulusDialog::finish(int action) {
    ModulusSettings& s = m_values.settings;
    float minimum = 0;
    float maximum = 0;
    if (!parseFloatField(m_forceMinimum->text(), minimum)) {
        refuseFloatField(this, m_forceMinimum);
        return;
    }
    if (!parseFloatField(m_forceMaximum->text(), maximum)) {
        refuseFloatField(this, m_forceMaximum);
        return;
    }
    s.forceMinPercent = minimum;
    s.forceMaxPercent = maximum;
    s.C0 = fromQt(m_c0->text());
    s.C1 = fromQt(m_c1->text());
    s.Es = fromQt(m_known[0]->text());
    s.Vs = fromQt(m_known[1]->text());
    s.Ei = fromQt(m_known[2]->text());
    s.Vi = fromQt(m_known[3]->text());
    s.Cf = fromQt(m_compliance->text());
    s.epsilon = fromQt(m_epsilon->text());
    m_action = action;
    QDialog::accept();
}

Acted<ModulusDialogValues> ModulusDialog::answer() const {
    return {m_values, m_action};
}

std::optional<Acted<ModulusDialogValues>> QtModulusDialogPort::askModulus(const ModulusDialogValues& values) {
    ModulusDialog dialog(values, m_parent);
    dialog.setPlacer(m_placer);
    placeDialog(dialog, m_placer);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.answer();
}

}  // namespace mivaro

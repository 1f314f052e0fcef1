#include "analysis/qt/hardness_dialog_qt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/qt/dialog_fields.h"

namespace mivaro {

HardnessDialog::HardnessDialog(const HardnessSettings& settings, QWidget* parent)
    : QDialog(parent), m_values(settings) {
    setWindowTitle(QStringLiteral("Hardness"));
    setObjectName(QStringLiteral("HardnessDialog"));

    const QString formulas[] = {
        QStringLiteral("HM = F/As(hmax)"),
        QStringLiteral("HV = Pmax / (9.80665 * As(hc))"),
        QStringLiteral("HRA = 114.7595 - 298587.7 * (6.6982e-6 + 4.4760e-9 * HV) / HV)^0.5"),
    };
    auto* formulaGroup = new QButtonGroup(this);
    auto* formulaColumn = new QVBoxLayout;
    for (int k = 0; k < 3; ++k) {
        auto* radio = new QRadioButton(formulas[k]);
        radio->setObjectName(QStringLiteral("formula%1").arg(k));
        formulaGroup->addButton(radio, k);
        formulaColumn->addWidget(radio);
        m_formula[static_cast<std::size_t>(k)] = radio;
    }
    // No formula chosen yet: none of the buttons shows selected.
    if (settings.formula >= 0 && settings.formula < 3) {
        m_formula[static_cast<std::size_t>(settings.formula)]->setChecked(true);
    }
    m_noFormula = new QLabel(QString::fromLatin1(kNoFormulaText));
    m_noFormula->setObjectName(QStringLiteral("noFormula"));
    m_noFormula->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_noFormula->setVisible(false);
    formulaColumn->addWidget(m_noFormula);
    connect(formulaGroup, &QButtonGroup::idClicked, this, [this](int k) {
        m_values.formula = k;
        m_noFormula->setVisible(false);
    });

    auto* ok = new QPushButton(QStringLiteral("OK"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &HardnessDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(ok);
    buttonColumn->addWidget(cancel);
    buttonColumn->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(formulaColumn, 1);
    top->addLayout(buttonColumn);

    m_c0 = textField(settings.C0, "C0");
    m_c1 = textField(settings.C1, "C1");
    m_d0 = textField(settings.D0, "D0");
    m_d1 = textField(settings.D1, "D1");
    auto* projected = new QHBoxLayout;
    addAreaEquationRow(projected, QStringLiteral("Ap (h) ="), m_c0, m_c1);
    auto* surface = new QHBoxLayout;
    addAreaEquationRow(surface, QStringLiteral("As (h) ="), m_d0, m_d1);

    m_compliance = textField(settings.Cf, "compliance");
    m_epsilon = textField(settings.epsilon, "epsilon");
    m_includeHoldTime = new QCheckBox(QStringLiteral("Include Hold Time"));
    m_includeHoldTime->setObjectName(QStringLiteral("includeHoldTime"));
    m_includeHoldTime->setChecked(settings.includeHoldTime == 1);
    auto* material = new QGridLayout;
    material->addWidget(new QLabel(QStringLiteral("Machine Frame Compliance :")), 0, 0);
    material->addWidget(m_compliance, 0, 1);
    material->addWidget(new QLabel(QStringLiteral("nm/mN")), 0, 2);
    material->addWidget(new QLabel(QStringLiteral("Sneddon's Material Epsilon (default 0):")), 1, 0);
    material->addWidget(m_epsilon, 1, 1);
    material->addWidget(m_includeHoldTime, 2, 0);
    material->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("Indenter Projected Area Equation:")));
    layout->addLayout(projected);
    layout->addWidget(new QLabel(QStringLiteral("Indentation Surface Area Equation:")));
    layout->addLayout(surface);
    layout->addLayout(material);
}

void HardnessDialog::accept() {
    if (m_values.formula < 0 || m_values.formula > 2) {
        m_noFormula->setVisible(true);
        m_formula[0]->setFocus();
        return;
    }
    m_values.C0 = fromQt(m_c0->text());
    m_values.C1 = fromQt(m_c1->text());
    m_values.D0 = fromQt(m_d0->text());
    m_values.D1 = fromQt(m_d1->text());
    m_values.Cf = fromQt(m_compliance->text());
    m_values.epsilon = fromQt(m_epsilon->text());
    m_values.includeHoldTime = m_includeHoldTime->isChecked() ? 1 : 0;
    QDialog::accept();
}

std::optional<HardnessSettings> QtHardnessDialogPort::askHardness(const HardnessSettings& settings) {
    HardnessDialog dialog(settings, m_parent);
    placeDialog(dialog, m_placer);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.values();
}

}  // namespace mivaro

#include "analysis/qt/loading_curve_dialog_qt.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/qt/dialog_fields.h"

namespace mivaro {

namespace {

// Room for the 300 characters a label may hold.
constexpr int kLabelCapacity = 300;

}  // namespace

LoadingCurveDialog::LoadingCurveDialog(const LoadingCurveValues& values, QWidget* parent)
    : QDialog(parent), m_values(values) {
    setWindowTitle(QStringLiteral("Loading Curve "));
    setObjectName(QStringLiteral("LoadingCurveDialog"));
    m_label = new QLineEdit(toQt(values.labelText));
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setMaxLength(kLabelCapacity);

    auto* label = new QPushButton(QStringLiteral("Filename Curve Label"));
    auto* loadingRate = new QPushButton(QStringLiteral("Loading Rate"));
    auto* displacementRate = new QPushButton(QStringLiteral("Displacement Rate"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    // Enter in the label field puts the label on the graph.
    label->setDefault(true);
    for (QPushButton* button : {loadingRate, displacementRate, cancel}) {
        button->setAutoDefault(false);
    }
    connect(label, &QPushButton::clicked, this, [this] { finish(kLoadingLabel); });
    connect(loadingRate, &QPushButton::clicked, this, [this] { finish(kLoadingRate); });
    connect(displacementRate, &QPushButton::clicked, this, [this] { finish(kLoadingDisplacementRate); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* actions = new QVBoxLayout;
    actions->addWidget(label);
    actions->addWidget(loadingRate);
    actions->addWidget(displacementRate);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addLayout(actions);
    layout->addLayout(bottom);
    setMinimumWidth(320);
}

void LoadingCurveDialog::finish(int action) {
    m_values.labelText = fromQt(m_label->text());
    m_action = action;
    QDialog::accept();
}

Acted<LoadingCurveValues> LoadingCurveDialog::answer() const {
    return {m_values, m_action};
}

std::optional<Acted<LoadingCurveValues>> QtLoadingCurveDialogPort::askLoadingCurve(
    const LoadingCurveValues& values) {
    LoadingCurveDialog dialog(values, m_parent);
    placeDialog(dialog, m_placer);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.answer();
}

}  // namespace mivaro

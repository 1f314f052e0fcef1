#include "analysis/qt/advanced_dialog_qt.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "analysis/qt/dialog_fields.h"

namespace mivaro {

namespace {

QPushButton* actionButton(const QString& text, const char* objectName) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(objectName));
    // Enter belongs to action 1, not to the button that has the focus.
    button->setAutoDefault(false);
    return button;
}

QLineEdit* percentField(const std::string& text, const char* objectName) {
    QLineEdit* field = textField(text, objectName, 5);
    field->setAlignment(Qt::AlignRight);
    return field;
}

}  // namespace

AdvancedDialog::AdvancedDialog(const AdvancedDialogValues& values, QWidget* parent)
    : QDialog(parent), m_values(values) {
    setWindowTitle(QStringLiteral("Advanced "));
    setObjectName(QStringLiteral("AdvancedDialog"));

    QPushButton* loadingRate = actionButton(QStringLiteral("Loading Rate"), "loadingRate");
    QPushButton* displacementRate = actionButton(QStringLiteral("Displacement Rate"), "displacementRate");
    QPushButton* equation = actionButton(QStringLiteral("Display Equation: P=a(h-hf)^m"), "equation");
    QPushButton* addToGraph = actionButton(QStringLiteral("Add to Graph of E(h)"), "addToGraph");
    QPushButton* cancel = actionButton(QStringLiteral("Cancel"), "cancel");
    // Without a modulus graph window there is nowhere to put the series.
    addToGraph->setEnabled(values.sectionGraphAvailable);
    connect(loadingRate, &QPushButton::clicked, this, [this] { finish(kActionLoadingRate); });
    connect(displacementRate, &QPushButton::clicked, this, [this] { finish(kActionDisplacementRate); });
    connect(equation, &QPushButton::clicked, this, [this] { finish(kActionEquation); });
    connect(addToGraph, &QPushButton::clicked, this, [this] { finish(kActionSection); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* rates = new QVBoxLayout;
    rates->addWidget(loadingRate);
    rates->addWidget(displacementRate);
    rates->addWidget(equation);

    m_top = percentField(values.topPercent, "top");
    m_sectionSize = percentField(values.sectionSizePercent, "sectionSize");
    m_bottom = percentField(values.bottomPercent, "bottom");
    m_zeroStartDepth = new QCheckBox(QStringLiteral("Zero Start Depth"));
    m_zeroStartDepth->setObjectName(QStringLiteral("zeroStartDepth"));
    m_zeroStartDepth->setChecked(values.zeroStartDepth == 1);

    auto* text = new QLabel(QStringLiteral("Change in elastic modulus along the unload or reload curve."));
    text->setWordWrap(true);
    auto* fields = new QGridLayout;
    const QString labels[] = {QStringLiteral("Top:"), QStringLiteral("Section Size:"),
                              QStringLiteral("Bottom:")};
    QLineEdit* edits[] = {m_top, m_sectionSize, m_bottom};
    for (int row = 0; row < 3; ++row) {
        fields->addWidget(new QLabel(labels[row]), row, 0);
        fields->addWidget(edits[row], row, 1);
        fields->addWidget(new QLabel(QStringLiteral("%")), row, 2);
    }
    fields->setColumnStretch(3, 1);
    auto* sectionText = new QVBoxLayout;
    sectionText->addWidget(text);
    sectionText->addLayout(fields);
    sectionText->addWidget(m_zeroStartDepth);
    auto* sectionTop = new QHBoxLayout;
    sectionTop->addLayout(sectionText, 1);
    sectionTop->addWidget(new UnloadingSketch, 0, Qt::AlignTop);
    auto* section = new QGroupBox;
    auto* sectionLayout = new QVBoxLayout(section);
    sectionLayout->addLayout(sectionTop);
    sectionLayout->addWidget(addToGraph, 0, Qt::AlignLeft);

    auto* bottomRow = new QHBoxLayout;
    bottomRow->addStretch(1);
    bottomRow->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rates);
    layout->addWidget(section);
    layout->addLayout(bottomRow);
    setMinimumWidth(380);
}

Acted<AdvancedDialogValues> AdvancedDialog::answer() const {
    return {m_values, m_action};
}

void AdvancedDialog::finish(int action) {
    m_values.topPercent = fromQt(m_top->text());
    m_values.sectionSizePercent = fromQt(m_sectionSize->text());
    m_values.bottomPercent = fromQt(m_bottom->text());
    m_values.zeroStartDepth = m_zeroStartDepth->isChecked() ? 1 : 0;
    m_action = action;
    QDialog::accept();
}

void AdvancedDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        finish(kActionModulus);
        return;
    }
    QDialog::keyPressEvent(event);
}

UnloadingSketch::UnloadingSketch(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("unloadingSketch"));
    setFixedSize(sizeHint());
}

void UnloadingSketch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const QRectF plot(14, 8, width() - 22, height() - 22);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());

    // P = (h - hf)^1.5 from the final depth up to the maximum, scaled into the box.
    auto at = [&plot](double share) {
        const double h = 0.35 + 0.65 * share;
        const double p = std::pow(share, 1.5);
        return QPointF(plot.left() + h * plot.width(), plot.bottom() - p * plot.height());
    };
    QPainterPath curve;
    curve.moveTo(at(0));
    for (int i = 1; i <= 40; ++i) {
        curve.lineTo(at(i / 40.0));
    }
    painter.setPen(QPen(QColor(0, 0, 255), 2));
    painter.drawPath(curve);

    // Top and bottom force levels, and a section between them.
    const double topShare = std::pow(0.95, 1.0 / 1.5);
    const double bottomShare = std::pow(0.20, 1.0 / 1.5);
    painter.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    for (const double share : {topShare, bottomShare}) {
        const double y = at(share).y();
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    painter.setPen(QPen(QColor(0, 160, 0), 4));
    QPainterPath section;
    section.moveTo(at(0.55));
    for (int i = 1; i <= 10; ++i) {
        section.lineTo(at(0.55 + 0.2 * i / 10.0));
    }
    painter.drawPath(section);

    painter.setPen(Qt::black);
    QFont letters = painter.font();
    letters.setPixelSize(11);
    letters.setBold(true);
    painter.setFont(letters);
    painter.drawText(QPointF(2, at(topShare).y() + 4), QStringLiteral("T"));
    painter.drawText(QPointF(2, at(bottomShare).y() + 4), QStringLiteral("B"));
    const QPointF middle = at(0.65);
    painter.drawText(QPointF(middle.x() - 14, middle.y() + 2), QStringLiteral("S"));
}

}  // namespace mivaro

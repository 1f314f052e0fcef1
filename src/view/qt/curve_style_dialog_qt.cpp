#include "view/qt/curve_style_dialog_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "view/color_chart.h"
#include "view/qt/painter_surface.h"

namespace mivaro {

namespace {

// Room around the chart: the dialog's face shows there and can be picked too.
constexpr int kChartDialogWidth = kColorChartWidth + 24;
constexpr int kChartDialogHeight = kColorChartHeight + 20;

QComboBox* editableList(QWidget& parent, const char* name, const std::vector<std::string>& items, int index) {
    auto* list = new QComboBox(&parent);
    list->setObjectName(name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : items) {
        list->addItem(QString::fromStdString(item));
    }
    if (index >= 0 && index < list->count()) {
        list->setCurrentIndex(index);
    }
    return list;
}

}  // namespace

ColorChartDialog::ColorChartDialog(QWidget* parent) : QDialog(parent), m_chart(chartImage()) {
    setWindowTitle("Color Chart");
    setFixedSize(kChartDialogWidth, kChartDialogHeight);
}

QImage ColorChartDialog::chartImage() {
    QImage chart(kColorChartWidth, kColorChartHeight, QImage::Format_RGB32);
    for (int y = 0; y < kColorChartHeight; ++y) {
        for (int x = 0; x < kColorChartWidth; ++x) {
            chart.setPixel(x, y, toQRgb(colorChartPixel(x, y)));
        }
    }
    return chart;
}

void ColorChartDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_chart);
}

void ColorChartDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    // The colour as displayed: the dialog drawn again into an image, which
    // is what the screen shows of it.
    const QImage shown = grab().toImage();
    const qreal ratio = shown.devicePixelRatio();
    const QPoint at(static_cast<int>(event->position().x() * ratio),
                    static_cast<int>(event->position().y() * ratio));
    if (shown.valid(at)) {
        const QRgb pixel = shown.pixel(at);
        m_picked = makeRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
    } else {
        m_picked = std::nullopt;
    }
    accept();
}

CurveStyleDialog::CurveStyleDialog(const CurveStyleValues& values, QWidget* parent)
    : QDialog(parent), m_values(values) {
    setWindowTitle("Curve Style");
    auto* fileName = new QLineEdit(QString::fromStdString(values.fileName), this);
    fileName->setObjectName("fileName");
    fileName->setReadOnly(true);
    fileName->setMinimumWidth(200);
    m_size = editableList(*this, "markerSize", markerSizeItems(), values.size);
    m_style = editableList(*this, "markerStyle", markerStyleItems(), values.style);
    auto* select = new QPushButton("Select Color", this);
    select->setObjectName("selectColor");
    select->setAutoDefault(false);
    m_swatch = new QLabel(this);
    m_swatch->setObjectName("colorSwatch");
    m_swatch->setFixedSize(24, 16);
    m_remove = new QCheckBox("Remove", this);
    m_remove->setObjectName("remove");
    showColour(values.colour);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("File name :", this), 0, 0);
    grid->addWidget(fileName, 0, 1);
    grid->addWidget(new QLabel("Marker Size :", this), 1, 0);
    grid->addWidget(m_size, 1, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel("Marker Style : ", this), 2, 0);
    grid->addWidget(m_style, 2, 1, Qt::AlignLeft);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel("Color :", this));
    colourRow->addWidget(m_swatch);
    colourRow->addStretch();
    grid->addLayout(colourRow, 3, 0);
    grid->addWidget(select, 3, 1, Qt::AlignLeft);
    grid->addWidget(m_remove, 4, 1);

    auto* buttons = new QVBoxLayout;
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    ok->setObjectName("ok");
    cancel->setObjectName("cancel");
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(select, &QPushButton::clicked, this, &CurveStyleDialog::selectColour);
    m_size->setFocus();  // not the read-only file name
}

void CurveStyleDialog::selectColour() {
    ColorChartDialog chart(this);
    if (chart.exec() == QDialog::Accepted && chart.pickedColour()) {
        m_picked = chart.pickedColour();
        showColour(*m_picked);
    }
}

void CurveStyleDialog::showColour(Rgb colour) {
    m_swatch->setStyleSheet(QString("background-color: rgb(%1, %2, %3); border: 1px solid gray;")
                                .arg(redOf(colour))
                                .arg(greenOf(colour))
                                .arg(blueOf(colour)));
}

void CurveStyleDialog::accept() {
    m_values.size = listChoice(m_size->currentText().toStdString(), markerSizeItems(), m_values.size);
    m_values.style = listChoice(m_style->currentText().toStdString(), markerStyleItems(), m_values.style);
    m_values.pickedColour = m_picked;
    m_values.remove = m_remove->isChecked();
    QDialog::accept();
}

std::optional<CurveStyleValues> QtCurveStyleDialog::askCurveStyle(const CurveStyleValues& values) {
    CurveStyleDialog dialog(values, m_parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.values();
}

}  // namespace mivaro

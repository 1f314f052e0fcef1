#pragma once

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <optional>

#include "view/curve_style_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace mivaro {

// The "Color Chart" dialog: the chart at its top left; a left press anywhere
// in the dialog takes the colour of the pixel under the pointer (swatch,
// frame, chart background or the dialog's own face) and accepts.
class ColorChartDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ColorChartDialog(QWidget* parent = nullptr);
    std::optional<Rgb> pickedColour() const { return m_picked; }
    // The chart as drawn, pixel for pixel.
    static QImage chartImage();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QImage m_chart;
    std::optional<Rgb> m_picked;
};

// The "Curve Style" dialog for one curve. "Select Color" opens the Color
// Chart; the colour picked there counts only when the dialog ends with OK.
class CurveStyleDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CurveStyleDialog(const CurveStyleValues& values, QWidget* parent = nullptr);
    const CurveStyleValues& values() const { return m_values; }
    void accept() override;

  private:
    void selectColour();
    void showColour(Rgb colour);

    CurveStyleValues m_values;
    std::optional<Rgb> m_picked;
    QComboBox* m_size;
    QComboBox* m_style;
    QCheckBox* m_remove;
    QLabel* m_swatch;
};

class QtCurveStyleDialog final : public CurveStyleDialogPort {
  public:
    explicit QtCurveStyleDialog(QWidget* parent) : m_parent(parent) {}
    std::optional<CurveStyleValues> askCurveStyle(const CurveStyleValues& values) override;

  private:
    QPointer<QWidget> m_parent;
};

}  // namespace mivaro

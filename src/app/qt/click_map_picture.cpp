#include "app/qt/click_map_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace mivaro {

namespace {

// Plot area of the sample graph, in picture pixels.
constexpr int kLeft = 70;
constexpr int kTop = 30;
constexpr int kRight = 360;
constexpr int kBottom = 300;

// A textbook indentation cycle in relative units: quadratic loading to the
// peak, a short creep hold, a power-law unloading to the final depth.
QPointF samplePoint(double depth, double force) {
    return {kLeft + depth * (kRight - kLeft), kBottom - force * (kBottom - kTop)};
}

void drawArrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF direction = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF normal(-direction.y(), direction.x());
    const QPointF back = to - direction * 8;
    p.drawPolygon(QPolygonF({to, back + normal * 4, back - normal * 4}));
}

void note(QPainter& p, const QRectF& box, const QString& text, QPointF target, const QColor& colour) {
    p.setPen(QPen(colour, 1));
    p.setBrush(QColor(255, 255, 230));
    p.drawRect(box);
    p.setPen(Qt::black);
    p.drawText(box.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text);
    p.setPen(QPen(colour, 1.5));
    p.setBrush(colour);
    const QPointF start(box.center().x() < target.x() ? box.right() : box.left(), box.center().y());
    drawArrow(p, start, target);
}

}  // namespace

QPixmap clickMapPicture() {
    QPixmap pixmap(kClickMapWidth, kClickMapHeight);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font("Liberation Sans");
    font.setPixelSize(11);
    p.setFont(font);

    // Axes with ticks and titles.
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRect(kLeft, kTop, kRight - kLeft, kBottom - kTop));
    for (int i = 0; i <= 5; ++i) {
        const int x = kLeft + i * (kRight - kLeft) / 5;
        const int y = kBottom - i * (kBottom - kTop) / 5;
        p.drawLine(x, kBottom, x, kBottom + 5);
        p.drawLine(kLeft - 5, y, kLeft, y);
        p.drawText(QRect(x - 20, kBottom + 6, 40, 14), Qt::AlignCenter, QString::number(i * 200));
        p.drawText(QRect(kLeft - 40, y - 7, 32, 14), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(i * 2));
    }
    p.drawText(QRect(kLeft, kBottom + 24, kRight - kLeft, 16), Qt::AlignCenter, "nm");
    p.save();
    p.translate(kLeft - 52, (kTop + kBottom) / 2.0);
    p.rotate(-90);
    p.drawText(QRect(-40, -8, 80, 16), Qt::AlignCenter, "mN");
    p.restore();

    // The sample cycle.
    QPainterPath loading;
    loading.moveTo(samplePoint(0, 0));
    for (int i = 1; i <= 40; ++i) {
        const double h = 0.8 * i / 40.0;
        loading.lineTo(samplePoint(h, 0.9 * (h / 0.8) * (h / 0.8)));
    }
    const QPointF topStart = samplePoint(0.8, 0.9);
    const QPointF topEnd = samplePoint(0.84, 0.89);
    QPainterPath unloading;
    unloading.moveTo(topEnd);
    for (int i = 1; i <= 40; ++i) {
        const double f = 0.89 * (1.0 - i / 40.0);
        const double h = 0.55 + (0.84 - 0.55) * std::pow(f / 0.89, 1.0 / 1.4);
        unloading.lineTo(samplePoint(h, f));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 2));
    p.drawPath(loading);
    p.setPen(QPen(QColor(200, 0, 0), 3));
    p.drawLine(topStart, topEnd);
    p.setPen(QPen(QColor(0, 0, 220), 2));
    p.drawPath(unloading);

    // The click map.
    const double boxLeft = kRight + 30;
    const double boxWidth = kClickMapWidth - boxLeft - 8;
    note(p, QRectF(boxLeft, 14, boxWidth, 44), "Left-click at the top of a curve to calculate hardness.",
         topStart + QPointF(4, 0), QColor(200, 0, 0));
    note(p, QRectF(boxLeft, 76, boxWidth, 56),
         "Left-click on the unloading part of a curve to calculate the modulus.", samplePoint(0.75, 0.5),
         QColor(0, 0, 220));
    note(p, QRectF(boxLeft, 150, boxWidth, 44), "Right-click near a curve to edit the curve style.",
         samplePoint(0.5, 0.35), QColor(0, 128, 0));
    note(p, QRectF(boxLeft, 212, boxWidth, 44), "Right-click on either axis to edit the axis.",
         QPointF(kRight - 40, kBottom + 12), QColor(128, 0, 128));
    note(p, QRectF(boxLeft, 274, boxWidth, 44), "Right-click on an axis title to edit the label.",
         QPointF((kLeft + kRight) / 2.0 + 12, kBottom + 32), QColor(160, 90, 0));
    note(p, QRectF(8, kClickMapHeight - 22, 150, 18), "Right-click on the y axis too.",
         QPointF(kLeft - 20, kBottom - 60), QColor(128, 0, 128));
    return pixmap;
}

}  // namespace mivaro

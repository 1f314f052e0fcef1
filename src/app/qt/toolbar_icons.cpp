#include "app/qt/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include "app/command_ids.h"

namespace mivaro {

namespace {

const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kFolder(230, 190, 60);
const QColor kBlue(0, 0, 160);
const QColor kGrey(128, 128, 128);

// A sheet with a folded top-right corner.
void drawPage(QPainter& p, int left, int top, int width, int height) {
    const int fold = 3;
    const QPolygon outline({QPoint(left, top), QPoint(left + width - fold, top),
                            QPoint(left + width, top + fold), QPoint(left + width, top + height),
                            QPoint(left, top + height)});
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawPolygon(outline);
    p.drawLine(left + width - fold, top, left + width - fold, top + fold);
    p.drawLine(left + width - fold, top + fold, left + width, top + fold);
}

void drawTextLines(QPainter& p, int left, int top, int width, int count) {
    p.setPen(kGrey);
    for (int i = 0; i < count; ++i) {
        p.drawLine(left, top + 2 * i, left + width, top + 2 * i);
    }
}

void drawNew(QPainter& p) {
    drawPage(p, 3, 1, 10, 13);
}

void drawOpen(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kFolder.darker(120));
    p.drawRect(1, 4, 11, 9);
    p.drawRect(1, 3, 4, 1);
    p.setBrush(kFolder);
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 13), QPoint(1, 13)}));
    p.setPen(kBlue);
    p.drawLine(10, 1, 13, 1);
    p.drawLine(13, 1, 13, 4);
    p.drawPoint(12, 2);
}

void drawSave(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(QColor(40, 40, 140));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(kPaper);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(4, 9, 7, 5);
    p.fillRect(8, 10, 2, 3, kInk);
}

void drawImport(QPainter& p) {
    drawPage(p, 6, 1, 9, 13);
    drawTextLines(p, 8, 5, 5, 4);
    // An arrow into the page: a text export coming in.
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawLine(0, 8, 7, 8);
    p.setPen(QColor(0, 128, 0));
    p.setBrush(QColor(0, 128, 0));
    p.drawPolygon(QPolygon({QPoint(6, 5), QPoint(9, 8), QPoint(6, 11)}));
}

void drawCopy(QPainter& p) {
    drawPage(p, 1, 1, 8, 9);
    drawPage(p, 6, 5, 8, 9);
    drawTextLines(p, 8, 9, 4, 3);
}

void drawUndoText(QPainter& p) {
    p.setPen(kInk);
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(6, 5, 10, 10), Qt::AlignCenter, "T");
    // A curved arrow pointing back: take the last text away.
    p.setPen(QPen(kBlue, 1.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(11, 5);
    arc.cubicTo(10, 0, 3, 0, 3, 5);
    p.drawPath(arc);
    p.setPen(kBlue);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygon({QPoint(0, 4), QPoint(6, 4), QPoint(3, 8)}));
}

void drawPrint(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(4, 1, 8, 5);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 6, 14, 6);
    p.setBrush(kPaper);
    p.drawRect(3, 10, 10, 4);
    p.fillRect(12, 8, 2, 1, QColor(0, 160, 0));
}

void drawAbout(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(QColor(255, 255, 200));
    p.drawEllipse(1, 0, 13, 13);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kBlue);
    p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, "?");
}

}  // namespace

QPixmap toolbarIcon(int commandId) {
    void (*draw)(QPainter&) = nullptr;
    switch (commandId) {
        case command::FileNew:
            draw = drawNew;
            break;
        case command::FileOpen:
            draw = drawOpen;
            break;
        case command::FileSave:
            draw = drawSave;
            break;
        case command::FileImport:
            draw = drawImport;
            break;
        case command::EditCopy:
            draw = drawCopy;
            break;
        case command::EditUndoText:
            draw = drawUndoText;
            break;
        case command::FilePrint:
            draw = drawPrint;
            break;
        case command::AppAbout:
            draw = drawAbout;
            break;
        default:
            return {};
    }
    QPixmap pixmap(kToolbarButtonWidth, kToolbarButtonHeight);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter);
    return pixmap;
}

QPixmap programIcon(int size) {
    // A force-depth loop (loading up, unloading down) on a white card.
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(250, 250, 245));
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 8, 8);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(12, 52, 54, 52);
    p.drawLine(12, 52, 12, 10);
    QPainterPath loading;
    loading.moveTo(12, 52);
    loading.cubicTo(28, 50, 40, 30, 48, 14);
    p.setPen(QPen(QColor(0, 0, 0), 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(loading);
    QPainterPath unloading;
    unloading.moveTo(48, 14);
    unloading.cubicTo(46, 30, 42, 44, 36, 52);
    p.setPen(QPen(QColor(0, 0, 255), 3));
    p.drawPath(unloading);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 0, 0));
    p.drawEllipse(QPointF(48, 14), 4, 4);
    return pixmap;
}

}  // namespace mivaro

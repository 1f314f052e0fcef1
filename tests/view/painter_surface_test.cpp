#include "view/qt/painter_surface.h"

#include <QtTest>
#include <random>

#include "view/curve_painter.h"
#include "view/qt/graph_font.h"
#include "view/recording_surface.h"

namespace mivaro {

// The window's fast image path must set exactly the pixels the recording
// surface of the core tests sets, or those tests would check the wrong thing.
class PainterSurfaceTest : public QObject {
    Q_OBJECT

  private:
    template <class Draw>
    static void compare(int width, int height, Draw&& draw) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterSurface fast(painter, ClientRect{0, 0, width, height}, &image);
        QVERIFY(fast.usesRasterBits());
        RecordingSurface reference(width, height);
        draw(static_cast<DrawingSurface&>(fast));
        draw(static_cast<DrawingSurface&>(reference));
        painter.end();
        int differing = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb expected = reference.pixel(x, y);
                const QRgb actual = image.pixel(x, y);
                const bool same = qRed(actual) == redOf(expected) && qGreen(actual) == greenOf(expected) &&
                                  qBlue(actual) == blueOf(expected);
                differing += same ? 0 : 1;
            }
        }
        QCOMPARE(differing, 0);
    }

  private slots:
    void linesOfEveryWidthMatchTheReference() {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> coordinate(-20, 140);  // some lines leave the image
        for (int width = 0; width <= 6; ++width) {
            compare(120, 100, [&](DrawingSurface& surface) {
                std::mt19937 same = random;  // both surfaces get the same lines
                std::uniform_int_distribution<int> c = coordinate;
                surface.setPen(width, makeRgb(10 * width, 0, 200));
                surface.moveTo(c(same), c(same));
                for (int k = 0; k < 30; ++k) {
                    surface.lineTo(c(same), c(same));
                }
                // The rest as one polyline, which the image path draws on its own.
                int xs[30];
                int ys[30];
                for (int k = 0; k < 30; ++k) {
                    xs[k] = c(same);
                    ys[k] = c(same);
                }
                surface.polylineTo(xs, ys, 30);
            });
            random.discard(200);
        }
    }

    void markersMatchTheReferenceAlsoAtTheEdges() {
        compare(60, 40, [](DrawingSurface& surface) {
            const int centres[][2] = {{0, 0}, {59, 39}, {30, 20}, {-2, 20}, {58, -3}, {10, 39}};
            for (int style = CIRCLE; style <= SQUARE_SOLID; ++style) {
                for (int size = 0; size <= 6; ++size) {
                    for (const auto& centre : centres) {
                        drawMarker(surface, style, size, centre[0] + style, centre[1] + size,
                                   makeRgb(style * 40, size * 30, 90));
                    }
                }
            }
        });
    }

    // The graph's cell height is ascent + descent: the largest Qt pixel size
    // whose cell still fits is used.
    void fontCellHeightFitsExactly() {
        for (int cell : {8, 13, 24, 40, 200}) {
            for (int weight : {400, 700}) {
                const QFont font = qtFont(FontChoice{"Arial", cell, weight, 0});
                const QFontMetrics metrics(font);
                QVERIFY(metrics.ascent() + metrics.descent() <= cell);
                QFont bigger = font;
                bigger.setPixelSize(font.pixelSize() + 1);
                const QFontMetrics biggerMetrics(bigger);
                QVERIFY(biggerMetrics.ascent() + biggerMetrics.descent() > cell);
                QCOMPARE(font.bold(), weight == 700);
            }
        }
    }

    void noRasterPathOnTransformedPainters() {
        QImage image(50, 50, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.scale(2, 2);
        PainterSurface surface(painter, ClientRect{0, 0, 25, 25}, &image);
        QVERIFY(!surface.usesRasterBits());
    }
};

}  // namespace mivaro

QTEST_MAIN(mivaro::PainterSurfaceTest)
#include "painter_surface_test.moc"

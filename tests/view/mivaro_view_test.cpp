#include "view/qt/mivaro_view.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include "view/curve_painter.h"
#include "view/graph_clicks.h"

namespace mivaro {

class SilentMessages final : public MessagePort {
  public:
    int shown = 0;
    MessageAnswer showMessage(const std::string&, const std::string&, MessageButtons) override {
        ++shown;
        return MessageAnswer::Ok;
    }
};

class MivaroViewTest : public QObject {
    Q_OBJECT

  private:
    // A window that binds Ctrl+T and Ctrl+Z to the view as the main frame does.
    struct Harness {
        SilentMessages messages;
        NoRepaint repaint;
        CMivaro4Doc doc{"./", messages, repaint};
        QWidget window;
        CMivaro4View* view = nullptr;
        std::vector<QPoint> releases;

        Harness() {
            auto* layout = new QVBoxLayout(&window);
            layout->setContentsMargins(0, 0, 0, 0);
            view = new CMivaro4View(doc, &window);
            view->setFixedSize(800, 600);
            layout->addWidget(view);
            auto* textLine = new QAction(&window);
            textLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
            QObject::connect(textLine, &QAction::triggered, view, [v = view] { v->onTextLine(); });
            window.addAction(textLine);
            auto* undo = new QAction(&window);
            undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
            QObject::connect(undo, &QAction::triggered, view, [v = view] { v->onUndoText(); });
            window.addAction(undo);
            view->setLeftReleaseHandler([this](int x, int y) { releases.emplace_back(x, y); });
            window.show();
        }
    };

    // Answers the next "Text Line" dialog with text, by OK or Cancel.
    static void answerTextLine(const QString& text, bool ok) {
        QTimer::singleShot(0, [text, ok] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Text Line"));
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("textEdit"));
            QVERIFY(edit != nullptr);
            QTest::keyClicks(edit, text);
            for (auto* button : dialog->findChildren<QPushButton*>()) {
                if (button->text() == (ok ? QStringLiteral("OK") : QStringLiteral("Cancel"))) {
                    button->click();
                    return;
                }
            }
            QFAIL("button not found");
        });
    }

    static int darkPixels(const QImage& image, QRect area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        return dark;
    }

  private slots:
    void textLinePlacedWithTheMouse() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        answerTextLine(QStringLiteral("abc"), true);
        QTest::keyClick(&h.window, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(h.view->textList().placing());

        QTest::mouseMove(h.view, QPoint(250, 150));
        QCOMPARE(h.view->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(h.view->cursor().pixmap().size(), QSize(trunc5(3), 24));

        const QImage before = h.view->renderImage(h.view->size());
        QTest::mouseClick(h.view, Qt::LeftButton, {}, QPoint(300, 200));
        QCOMPARE(h.view->textList().count(), 1);
        QCOMPARE(h.view->textList().slot(0).x, 300);
        QCOMPARE(h.view->textList().slot(0).y, 200);
        QVERIFY(h.releases.empty());  // the placing click runs no command
        QTest::mouseMove(h.view, QPoint(260, 160));
        QCOMPARE(h.view->cursor().shape(), Qt::ArrowCursor);

        // The text now shows with its top-left corner at the click.
        const QImage after = h.view->renderImage(h.view->size());
        const QRect area(300, 200, 40, 24);
        QCOMPARE(darkPixels(before, area), 0);
        QVERIFY(darkPixels(after, area) > 10);
        QCOMPARE(darkPixels(after, QRect(270, 170, 29, 29)), 0);

        // The next click is an ordinary one again.
        QTest::mouseClick(h.view, Qt::LeftButton, {}, QPoint(400, 300));
        QCOMPARE(h.releases.size(), std::size_t{1});
        QCOMPARE(h.view->textList().count(), 1);
    }

    void fractionalPressPositionsAreTruncated() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        h.view->textList().beginTextPlacement("abc");
        const QPointF at(300.8, 200.6);
        QMouseEvent press(QEvent::MouseButtonPress, at, h.view->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.view, &press);
        QCOMPARE(h.view->textList().count(), 1);
        QCOMPARE(h.view->textList().slot(0).x, 300);
        QCOMPARE(h.view->textList().slot(0).y, 200);
        QMouseEvent release(QEvent::MouseButtonRelease, at, h.view->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(h.view, &release);
        QVERIFY(!h.view->textList().placing());
    }

    void cancelAndRightClickPlaceNothing() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        answerTextLine(QStringLiteral("ignored"), false);
        h.view->onTextLine();
        QVERIFY(!h.view->textList().placing());

        std::vector<QPoint> rightReleases;
        h.view->setRightReleaseHandler([&](int x, int y) { rightReleases.emplace_back(x, y); });
        answerTextLine(QString(), true);
        h.view->onTextLine();
        QVERIFY(h.view->textList().placing());
        QTest::mouseClick(h.view, Qt::RightButton, {}, QPoint(100, 100));
        QVERIFY(!h.view->textList().placing());
        QCOMPARE(rightReleases.size(), std::size_t{1});  // editing still gets its release
        QTest::mouseClick(h.view, Qt::LeftButton, {}, QPoint(300, 200));
        QCOMPARE(h.view->textList().count(), 0);
    }

    void twentyLinesUndoAndEmptying() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        for (int k = 0; k < 21; ++k) {
            h.view->textList().beginTextPlacement("line " + std::to_string(k));
            QTest::mouseClick(h.view, Qt::LeftButton, {}, QPoint(10 + k, 10 + 20 * k));
        }
        QCOMPARE(h.view->textList().count(), 20);
        QVERIFY(h.releases.empty());
        QTest::keyClick(&h.window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.view->textList().count(), 19);

        // A paint with another number of curve files empties the list.
        (void)h.view->renderImage(QSize(800, 600));
        QCOMPARE(h.view->textList().count(), 19);
        h.doc.indentCurve().names.push_back("a.MVR");
        (void)h.view->renderImage(QSize(800, 600));
        QCOMPARE(h.view->textList().count(), 0);
    }

    void resultLinesFromTheClickCommands() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        h.view->settings().labelDecimals = 3;
        QCOMPARE(h.view->textStyle().labelDecimals, 3);
        h.view->resultTexts().beginTextPlacement("Es = 70.000 GPa");
        QVERIFY(h.view->textList().placing());
        QTest::mouseClick(h.view, Qt::LeftButton, {}, QPoint(120, 80));
        QCOMPARE(h.view->textList().count(), 1);
        QCOMPARE(h.view->textList().slot(0).text, std::string("Es = 70.000 GPa"));
        QVERIFY(h.releases.empty());
    }

    void cursorSizeForTenCharacters() {
        Harness h;
        h.view->textList().beginTextPlacement("0123456789");
        QTest::mouseMove(h.view, QPoint(50, 50));
        QCOMPARE(h.view->cursor().pixmap().size(), QSize(115, 24));
        QCOMPARE(h.view->cursor().hotSpot(), QPoint(0, 0));
        // Black is transparent; the text pixels are opaque.
        const QImage cursorImage = h.view->cursor().pixmap().toImage();
        QCOMPARE(qAlpha(cursorImage.pixel(0, 0)), 0);
        int opaque = 0;
        for (int y = 0; y < cursorImage.height(); ++y) {
            for (int x = 0; x < cursorImage.width(); ++x) {
                opaque += qAlpha(cursorImage.pixel(x, y)) > 0 ? 1 : 0;
            }
        }
        QVERIFY(opaque > 20);
        QCOMPARE(h.messages.shown, 0);
    }

    void screenMatchesTheExportedImage() {
        Harness h;
        CurveSet& set = h.doc.curveSet();
        CurveInfo info;
        info.style = CIRCLE_SOLID;
        info.size = 2;
        info.colour = makeRgb(255, 0, 0);
        set.curves.push_back(info);
        for (int k = 0; k <= 10; ++k) {
            set.depth.push_back(100.0f * k);
            set.force.push_back(1.0f * k);
            set.time.push_back(0);
            set.segment.push_back('L');
            set.curveIndex.push_back(0);
            set.colour.push_back(info.colour);
        }
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        const QImage screen = h.view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage exported = h.view->renderImage(h.view->size());
        QCOMPARE(screen.size(), exported.size());
        QVERIFY(screen == exported);
        // The point (500 nm, 5 mN) lands at (415, 299) in the red marker colour.
        QCOMPARE(exported.pixel(415, 299), qRgb(255, 0, 0));
    }

    void rendersIntoAScaledPainterForPrinting() {
        Harness h;
        // A printer page is a painter with a scale; the layout stays the view's.
        QImage page(1600, 1200, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        painter.scale(2, 2);
        h.view->renderGraph(painter, QSize(800, 600));
        painter.end();
        QCOMPARE(h.view->plotLayout().plotRight, 720);
        // The x axis (y 528 in view pixels) lies near y 1056 on the page.
        int dark = 0;
        for (int y = 1050; y <= 1060; ++y) {
            dark += qGray(page.pixel(800, y)) < 128 ? 1 : 0;
        }
        QVERIFY(dark >= 2);
        QCOMPARE(qGray(page.pixel(800, 600)), 255);
    }

    void rightReleaseOnTheXAxisSetsItsRange() {
        // The X Axis dialog answered: a typed maximum of 2000, Auto box cleared.
        struct XAxisAnswer final : GraphDialogPort {
            int asked = 0;
            std::optional<AxisDialogValues> askXAxis(const AxisDialogValues& values) override {
                ++asked;
                AxisDialogValues typed = values;
                typed.autoMax = 0;
                typed.max = 2000;
                return typed;
            }
            std::optional<AxisDialogValues> askYAxis(const AxisDialogValues&) override {
                return std::nullopt;
            }
            std::optional<AxisTitlesValues> askAxisTitles(const AxisTitlesValues&) override {
                return std::nullopt;
            }
        } dialogs;
        Harness h;
        h.view->setGraphDialogs(&dialogs);
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        QTest::mouseClick(h.view, Qt::RightButton, {}, QPoint(400, 528 - 9));
        QCOMPARE(dialogs.asked, 1);
        (void)h.view->renderImage(h.view->size());
        QCOMPARE(h.view->settings().x.max, 2000.0f);
        QCOMPARE(h.view->settings().x.autoMin, 1);
        QTest::mouseClick(h.view, Qt::RightButton, {}, QPoint(400, 528 - 10));  // outside the band
        QCOMPARE(dialogs.asked, 1);
        h.view->setGraphDialogs(nullptr);
    }

    // Clicks on the example's loading, hold and unloading: each dialog opens
    // where none of the points it is about lies under it.
    void analysisDialogsLeaveTheHighlightedPointsInSight() {
        Harness h;
        h.view->setLeftReleaseHandler([v = h.view](int x, int y) { v->clickCommands().leftRelease(x, y); });
        h.view->setFixedSize(500, 380);
        h.window.move(0, 0);
        h.doc.appendPaths({MIVARO_SOURCE_DIR "/examples/fused_silica_labelled.MVR"});
        h.doc.rebuildCurveSet();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        h.view->repaint();
        const CurveSet& set = h.doc.curveSet();
        const PlotMapping map(h.view->settings(), h.view->plotLayout());
        for (const char letter : {'L', 'T', 'U'}) {
            std::vector<int> run;
            for (int i = 0; i < set.pointCount(); ++i) {
                if (set.segment[static_cast<std::size_t>(i)] == letter) {
                    run.push_back(i);
                }
            }
            const auto k = static_cast<std::size_t>(run.at(run.size() / 2));
            const QPoint clicked(map.px(set.depth[k]), map.py(set.force[k]));
            QRect dialogFrame;
            std::vector<QPoint> shown;  // the clicked and the highlighted points, on the screen
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog != nullptr);
                dialogFrame = dialog->frameGeometry();
                shown.push_back(h.view->mapToGlobal(clicked));
                for (std::size_t i = 0; i < set.colour.size(); ++i) {
                    if (set.colour[i] != 0) {
                        shown.push_back(
                            h.view->mapToGlobal(QPoint(map.px(set.depth[i]), map.py(set.force[i]))));
                    }
                }
                dialog->reject();
            });
            QTest::mouseClick(h.view, Qt::LeftButton, {}, clicked);
            QVERIFY2(dialogFrame.isValid(), QByteArray(1, letter).constData());
            QVERIFY(h.view->screen()->availableGeometry().contains(dialogFrame));
            for (const QPoint& point : shown) {
                QVERIFY2(!dialogFrame.contains(point), QByteArray(1, letter).constData());
            }
        }
    }

  private:
    static int trunc5(int n) { return static_cast<int>((n + 2) * 24 * 0.4); }
};

}  // namespace mivaro

QTEST_MAIN(mivaro::MivaroViewTest)
#include "mivaro_view_test.moc"

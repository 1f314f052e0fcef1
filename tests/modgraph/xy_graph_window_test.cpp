#include "modgraph/qt/xy_graph_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "modgraph/qt/modulus_graph_owner.h"
#include "modgraph_fakes.h"

namespace mivaro {

class XYGraphWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void handOverKeysAndClose();
    void cliWritesTheWindowPicture();
};

namespace {

void addSeries(ModulusGraphSink& sink, Rgb colour, double shift) {
    const double x[] = {100, 200, 300, 400};
    const double y[] = {50 + shift, 80 + shift, 70 + shift, 90};
    sink.setNextSeriesStyle(colour, SQUARE_SOLID, 3);
    sink.setBoldText(1);
    sink.setFontHeight(24);
    sink.AddSeries(x, y, 4);
    sink.redrawAndShow();
}

}  // namespace

void XYGraphWindowTest::handOverKeysAndClose() {
    // The main window's Ctrl+T must not fire from the graph window.
    QWidget mainView;
    int mainTextLines = 0;
    auto* textLine = new QAction(&mainView);
    textLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    textLine->setShortcutContext(Qt::ApplicationShortcut);
    connect(textLine, &QAction::triggered, [&] { ++mainTextLines; });
    mainView.addAction(textLine);
    mainView.show();

    test::ScriptedGraphDialogs dialogs;
    test::NotedMessages messages;
    test::ScriptedTextLine typed;
    ModulusGraphWindowOwner owner(&mainView, dialogs, messages);
    QVERIFY(owner.window() == nullptr);
    QCOMPARE(owner.seriesCount(), 0);
    owner.setNextSeriesStyle(0, SQUARE_SOLID, 3);
    XYGraphWindow* window = owner.window();
    QVERIFY(window != nullptr);
    QVERIFY(!window->isVisible());  // made hidden, shown by the hand-over
    QCOMPARE(window->windowTitle(), QString("XY-Graph"));
    QCOMPARE(window->size(), QSize(575, 583));
    QVERIFY(window->isWindow());

    addSeries(owner, 0, 0);
    addSeries(owner, makeRgb(0, 0, 255), -30);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(owner.window(), window);  // created once
    QCOMPARE(owner.graph().settings().yTitle, std::string("E(GPa)"));
    window->repaint();
    const PlotLayout& layout = owner.graph().layout();
    const PlotMapping map(owner.graph().settings().x, owner.graph().settings().y, layout);

    // Right click: black series point, blue series point, background.
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(map.px(200), map.py(80)));
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(map.px(200), map.py(50)));
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(layout.plotLeft + 30, layout.plotTop + 5));
    QCOMPARE(messages.captions, std::vector<std::string>{"Information"});

    // Keys: Ctrl+T with the text, a press places it, Ctrl+Z takes it away.
    window->setTextLineDialog(&typed);
    typed.answers = {"note"};
    window->activateWindow();
    QTest::keyClick(window, Qt::Key_A);
    QTest::keyClick(window, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(mainTextLines, 0);
    QVERIFY(owner.graph().textList().placing());
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(300, 300));
    QCOMPARE(owner.graph().textList().count(), 1);
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(owner.graph().textList().count(), 0);

    // Ctrl+C: this window's client area, as shown.
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), window->size());
    QCOMPARE(copied.pixel(map.px(300), map.py(40)) & 0xFFFFFFu, 0x0000FFu);  // the blue series
    QCOMPARE(messages.texts.back(), std::string("Copied to clipboard..."));

    // Escape hides and keeps; the close box hides and resets.
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QCOMPARE(owner.seriesCount(), 2);
    owner.redrawAndShow();
    QVERIFY(window->isVisible());
    window->close();
    QVERIFY(!window->isVisible());
    QCOMPARE(owner.seriesCount(), 0);
    QCOMPARE(owner.window(), window);
}

// A section analysis of the bundled example's unloading branch, as a user runs it.
void XYGraphWindowTest::cliWritesTheWindowPicture() {
    QTemporaryDir dir;
    struct Case {
        const char* file;
        QStringList extra;
        int status;
        QSize size;  // of a PNG
    };
    const Case cases[] = {
        {"eh.png", {}, 0, QSize(575, 583)},
        {"eh.png", {"--graph-size", "400x300"}, 0, QSize(400, 300)},
        {"eh.png", {"--graph-size", "0x300"}, 2, QSize(0, 0)},
        {"eh.svg", {}, 0, QSize()},
        {"eh.pdf", {}, 0, QSize()},
        {"eh.txt", {}, 2, QSize()},
    };
    for (const Case& c : cases) {
        const QString out = dir.filePath(c.file);
        QFile::remove(out);
        QProcess cli;
        cli.start(QStringLiteral(MIVARO_BINARY_DIR "/bin/mivaro-cli"),
                  QStringList{"analyse", "--point", "350", "--action", "section", "--graph-out", out} +
                      c.extra +
                      QStringList{QStringLiteral(MIVARO_SOURCE_DIR "/examples/fused_silica_labelled.MVR")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), c.status);
        if (out.endsWith(".png")) {
            const QImage image(out);
            QCOMPARE(image.size(), c.size);
            if (c.status == 0) {
                QCOMPARE(image.pixel(0, 0) & 0xFFFFFFu, 0u);  // the window's frame
            }
            continue;
        }
        QFile file(out);
        QCOMPARE(file.exists(), c.status == 0);
        if (c.status == 0) {
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray head = file.read(4096);
            QVERIFY2(head.contains(out.endsWith(".svg") ? "<svg" : "%PDF-"), c.file);
            // The series and titles are drawn as vectors, not as one picture.
            if (out.endsWith(".svg"))
                QVERIFY(file.readAll().contains("E(GPa)") || head.contains("E(GPa)"));
        }
    }
}

}  // namespace mivaro

QTEST_MAIN(mivaro::XYGraphWindowTest)
#include "xy_graph_window_test.moc"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include "app/command_ids.h"
#include "app/qt/main_frame.h"
#include "app_test_support.h"
#include "view/qt/mivaro_view.h"

namespace mivaro {

// Copy as a user pastes it elsewhere: a real X clipboard (under Xvfb) read
// back by another program, xclip.
class CopyClipboardTest : public QObject {
    Q_OBJECT

  private slots:
    void anotherProgramPastesTheClientArea() {
        if (QGuiApplication::platformName() != "xcb") {
            QSKIP("needs an X server (run under xvfb-run)");
        }
        const QString xclip = QStandardPaths::findExecutable("xclip");
        if (xclip.isEmpty()) {
            QSKIP("xclip not installed");
        }
        test::AppHarness h;
        QVERIFY(h.app.initInstance({}));
        CMainFrame& frame = h.frame();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QVERIFY(frame.runCommand(command::EditCopy));
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
        QCOMPARE(h.messages.shown[0].text, std::string("Copied to clipboard..."));
        QCOMPARE(h.messages.shown[0].caption, std::string("Message"));

        // The clipboard is served by this process: keep its events flowing
        // while xclip asks for the picture.
        QProcess paste;
        paste.start(xclip, {"-selection", "clipboard", "-t", "image/png", "-o"});
        QElapsedTimer clock;
        clock.start();
        while (paste.state() != QProcess::NotRunning && clock.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        QCOMPARE(paste.exitCode(), 0);
        const QImage pasted = QImage::fromData(paste.readAllStandardOutput(), "PNG");
        const int menuHeight = frame.menuBar()->geometry().bottom() + 1;
        QCOMPARE(pasted.size(), QSize(frame.width(), frame.height() - menuHeight));
        // It holds the graph as displayed: the view's pixels at the view's place.
        const QImage graph = frame.view().grab().toImage();
        const QPoint viewAt = frame.view().mapTo(&frame, QPoint(0, 0)) - QPoint(0, menuHeight);
        const QPoint axis(frame.view().plotLayout().plotLeft + 50, frame.view().plotLayout().plotBottom);
        QCOMPARE(pasted.pixel(viewAt + axis), graph.pixel(axis));
        QCOMPARE(graph.pixel(axis), qRgb(0, 0, 0));
    }
};

}  // namespace mivaro

QTEST_MAIN(mivaro::CopyClipboardTest)
#include "copy_clipboard_test.moc"

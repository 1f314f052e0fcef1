// The Mivaro desktop program.

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <clocale>
#include <cstdio>
#include <new>

#include "app/qt/main_frame.h"
#include "app/qt/mivaro_app.h"
#include "platform/runtime_dir.h"
#include "platform/safe_file_write.h"
#include "view/qt/mivaro_view.h"

namespace {

// An allocation failure in any command ends that command with a message box;
// the document keeps what it showed before the command.
class GuardedApplication final : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::bad_alloc&) {
            QMessageBox::critical(activeWindow(), "Error",
                                  "Not enough memory to finish the command. The curves on screen are as they "
                                  "were before it.");
            return false;
        }
    }
};

// --screenshot FILE: once the window is up, save the screen to FILE, print
// the window's title and size, and end. Used by the X server smoke test.
void scheduleScreenshot(mivaro::CMainFrame& frame, const QString& file) {
    QTimer::singleShot(1500, &frame, [&frame, file] {
        QScreen* screen = frame.screen();
        const QImage image = screen != nullptr ? screen->grabWindow(0).toImage() : frame.grab().toImage();
        const bool saved = image.save(file);
        std::printf("title=%s\nsize=%dx%d\nscreenshot=%s\n", frame.windowTitle().toUtf8().constData(),
                    frame.width(), frame.height(), saved ? "saved" : "failed");
        std::fflush(stdout);
        QApplication::exit(saved ? 0 : 1);
    });
}

// --print-view-geometry: once the window is up, print where the graph's
// client area lies on the screen, for tests that click on it.
void scheduleViewGeometry(mivaro::CMainFrame& frame) {
    QTimer::singleShot(1000, &frame, [&frame] {
        const QWidget& view = frame.view();
        const QPoint origin = view.mapToGlobal(QPoint(0, 0));
        std::printf("view=%d,%d,%dx%d\n", origin.x(), origin.y(), view.width(), view.height());
        std::fflush(stdout);
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    mivaro::ensureRuntimeDirectory();
    mivaro::removeTemporaryFilesOnSignals();
    GuardedApplication application(argc, argv);
    // Qt set the process locale from the environment; every number in a file
    // or a result text is written and read with '.'.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Tavimo");
    QApplication::setApplicationVersion("6.1");
    // Lets the desktop match the window to mivaro.desktop (and its icon).
    QGuiApplication::setDesktopFileName("mivaro");

    QStringList files;
    QString screenshot;
    bool printViewGeometry = false;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--screenshot" && i + 1 < arguments.size()) {
            screenshot = arguments[++i];
        } else if (arguments[i] == "--print-view-geometry") {
            printViewGeometry = true;
        } else {
            files << arguments[i];
        }
    }

    mivaro::CMivaroApp app;
    try {
        if (!app.initInstance(files)) {
            return 1;
        }
    } catch (const std::bad_alloc&) {
        std::fputs("mivaro: Not enough memory to open the project.\n", stderr);
        return 1;
    }
    if (!screenshot.isEmpty()) {
        scheduleScreenshot(*app.mainFrame(), screenshot);
    }
    if (printViewGeometry) {
        scheduleViewGeometry(*app.mainFrame());
    }
    return QApplication::exec();
}

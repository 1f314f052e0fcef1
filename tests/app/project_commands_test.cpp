// Project files through the window: save, save as, open project, New,
// dropped files and the recent-file list.

#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "app/command_ids.h"
#include "app_test_support.h"

using namespace mivaro;
using namespace mivaro::test;

namespace {

void dropFiles(CMainFrame& frame, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) {
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    }
    data.setUrls(urls);
    // A drop arrives after the drag entered and was accepted.
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
}

}  // namespace

class ProjectCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(useEmptyTestProfile()); }

    void saveAsksForANameOnceThenWritesThere() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        CMainFrame& frame = h.frame();
        const std::string a = h.writeCurve("a.MVR");
        const std::string b = h.writeCurve("b.MVR");
        h.files.openAnswers.push_back({a, b});
        frame.runCommand(command::FileOpen);

        const std::string project = h.path("saved.fls");
        h.files.saveAnswers.push_back(project);
        frame.runCommand(command::FileSave);
        QCOMPARE(h.files.saveRequests.size(), std::size_t{1});
        const SaveFileRequest& asked = h.files.saveRequests[0];
        QCOMPARE(asked.filters.at(0).description, std::string("Tavimo Files (*.fls)"));
        QCOMPARE(asked.defaultExtension, std::string(".fls"));
        QCOMPARE(asked.initialPath, std::string("Untitled.fls"));
        QCOMPARE(readFile(project), a + "\r\n" + b + "\r\n");
        QCOMPARE(frame.session().projectPath(), project);
        QCOMPARE(frame.windowTitle(), QString("saved.fls - Tavimo"));

        // Named now: Ctrl+S writes without asking, after a curve was deleted.
        frame.document().deleteCurve(0);
        frame.runCommand(command::FileSave);
        QCOMPARE(h.files.saveRequests.size(), std::size_t{1});
        QCOMPARE(readFile(project), b + "\r\n");

        // Save As asks again, proposing the current name, and moves the path.
        const std::string other = h.path("other.fls");
        h.files.saveAnswers.push_back(other);
        frame.runCommand(command::FileSaveAs);
        QCOMPARE(h.files.saveRequests.at(1).initialPath, project);
        QCOMPARE(frame.session().projectPath(), other);
        QCOMPARE(readFile(other), b + "\r\n");
        QVERIFY(h.messages.shown.empty());

        // Cancelling Save As changes nothing.
        frame.runCommand(command::FileSaveAs);
        QCOMPARE(frame.session().projectPath(), other);
    }

    void openProjectKeepsTheDocumentsOwnProjectPath() {
        AppHarness h;
        const std::string a = h.writeCurve("a.MVR");
        const std::string b = h.writeCurve("b.MVR");
        const std::string own = h.write("own.fls", a + "\r\n");
        const std::string other = h.write("other.fls", b + "\n" + a + "\n");
        QVERIFY(h.app.initInstance({QString::fromStdString(own)}));
        CMainFrame& frame = h.frame();

        h.files.openAnswers.push_back({other});
        frame.runCommand(command::FileOpenProject);
        QCOMPARE(h.files.openRequests.size(), std::size_t{1});
        const OpenFileRequest& asked = h.files.openRequests[0];
        QCOMPARE(asked.filters.at(0).description, std::string("fls Files (*.fls)"));
        QCOMPARE(asked.filters.at(0).patterns, std::vector<std::string>{"*.fls"});
        QVERIFY(!asked.multiSelect);
        QCOMPARE(frame.document().curveSet().curveCount(), 2);
        QCOMPARE(frame.session().projectPath(), own);
        QCOMPARE(frame.windowTitle(), QString("Mivaro 6.1"));

        // Ctrl+S now writes the curves of other.fls into own.fls.
        frame.runCommand(command::FileSave);
        QVERIFY(h.files.saveRequests.empty());
        QCOMPARE(readFile(own), b + "\r\n" + a + "\r\n");
        QCOMPARE(readFile(other), b + "\n" + a + "\n");

        // Cancelling the dialog leaves the curves as they are.
        frame.runCommand(command::FileOpenProject);
        QCOMPARE(frame.document().curveSet().curveCount(), 2);
    }

    void failedSavesSayWhyAndKeepThePreviousFile() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        CMainFrame& frame = h.frame();
        const std::string a = h.writeCurve("a.MVR");
        h.files.openAnswers.push_back({a});
        frame.runCommand(command::FileOpen);

        const std::string existing = h.write("keep.fls", "previous\r\n");
        std::filesystem::create_directory(h.path("folder.fls"));
        struct Case {
            std::string target;
            const char* why;
        };
        const Case cases[] = {
            {h.path("no_such_dir/p.fls"), "a folder that does not exist"},
            {h.path("folder.fls"), "a folder in the way"},
        };
        for (const Case& c : cases) {
            h.messages.shown.clear();
            h.files.saveAnswers.push_back(c.target);
            frame.runCommand(command::FileSaveAs);
            QVERIFY2(h.messages.shown.size() == 1, c.why);
            QVERIFY2(h.messages.shown[0].text.find(c.target) != std::string::npos, c.why);
            QVERIFY2(frame.session().projectPath().empty(), c.why);
        }
        QCOMPARE(readFile(existing), std::string("previous\r\n"));

        // A successful save over an existing file replaces it and leaves no
        // temporary file behind.
        h.messages.shown.clear();
        h.files.saveAnswers.push_back(existing);
        frame.runCommand(command::FileSaveAs);
        QVERIFY(h.messages.shown.empty());
        QCOMPARE(readFile(existing), a + "\r\n");
        int files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(h.settingsDirectory())) {
            files += entry.path().filename().string().rfind("keep.fls", 0) == 0 ? 1 : 0;
        }
        QCOMPARE(files, 1);

        // Saving through a symbolic link updates the file it names.
        std::filesystem::create_symlink(existing, h.path("link.fls"));
        h.files.saveAnswers.push_back(h.path("link.fls"));
        frame.runCommand(command::FileSaveAs);
        QVERIFY(std::filesystem::is_symlink(h.path("link.fls")));
        QCOMPARE(readFile(existing), a + "\r\n");

        // A curve file whose name holds a line break cannot be listed: the
        // project would load two other paths. The saved project stays.
        const std::string broken = h.writeCurve("two\nlines.MVR");
        h.files.openAnswers.push_back({broken});
        frame.runCommand(command::FileOpen);
        h.messages.shown.clear();
        frame.runCommand(command::FileSave);
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
        QVERIFY(h.messages.shown[0].text.find(broken) != std::string::npos);
        QCOMPARE(readFile(existing), a + "\r\n");
    }

    void newAndProjectOpenNeverAskToSave() {
        AppHarness h;
        const std::string a = h.writeCurve("a.MVR");
        const std::string project = h.write("p.fls", a + "\r\n");
        QVERIFY(h.app.initInstance({QString::fromStdString(project)}));
        CMainFrame& frame = h.frame();
        frame.document().deleteCurve(0);
        frame.runCommand(command::FileNew);
        QCOMPARE(frame.document().curveSet().curveCount(), 0);
        QVERIFY(frame.session().projectPath().empty());
        QCOMPARE(frame.windowTitle(), QString("Untitled - Tavimo"));
        QVERIFY(h.messages.shown.empty());
        QVERIFY(h.files.saveRequests.empty());
        QCOMPARE(readFile(project), a + "\r\n");
    }

    void droppedFilesOpenInTurnAndTheLastStays() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        CMainFrame& frame = h.frame();
        const std::string a = h.writeCurve("a.MVR");
        const std::string b = h.writeCurve("b.MVR");
        const std::string first = h.write("first.fls", a + "\r\n" + b + "\r\n");
        const std::string second = h.write("second.fls", b + "\r\n");
        dropFiles(frame, {first, second});
        // The drop itself only takes the names: the drag source is not kept
        // waiting while projects load or messages are shown.
        QCOMPARE(frame.document().curveSet().curveCount(), 0);
        QTRY_COMPARE(frame.session().projectPath(), second);
        QCOMPARE(frame.document().curveSet().curveCount(), 1);
        QCOMPARE(frame.windowTitle(), QString("second.fls - Tavimo"));

        // A dropped file that cannot be read is reported; the document stays.
        dropFiles(frame, {h.path("gone.fls")});
        QTRY_COMPARE(h.messages.shown.size(), std::size_t{1});
        QCOMPARE(frame.session().projectPath(), second);
        QCOMPARE(frame.document().curveSet().curveCount(), 1);
    }

    void recentFilesKeepSixNewestInTheProfile() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        CMainFrame& frame = h.frame();
        std::vector<std::string> projects;
        for (int i = 0; i < 8; ++i) {
            projects.push_back(h.write("r" + std::to_string(i) + ".fls", ""));
            frame.session().openDocument(projects.back());
        }
        frame.session().openDocument(projects[4]);  // again: moves to the front
        const auto& recent = h.app.recentFiles().entries();
        QCOMPARE(recent.size(), std::size_t{6});
        QCOMPARE(recent[0], projects[4]);
        QCOMPARE(recent[1], projects[7]);
        QCOMPARE(recent[5], projects[2]);

        QSettings profile(CMivaroApp::kProfileRoot, CMivaroApp::kProfileName);
        QCOMPARE(profile.value("Recent File List/File1").toString().toStdString(), projects[4]);
        QCOMPARE(profile.value("Recent File List/File6").toString().toStdString(), projects[2]);
        QVERIFY(!profile.contains("Recent File List/File7"));

        // The next run starts from the stored list.
        AppHarness next;
        next.testProfile = true;
        QSettings again(CMivaroApp::kProfileRoot, CMivaroApp::kProfileName);
        again.setValue("Recent File List/File1", QString::fromStdString(projects[0]));
        again.sync();
        QVERIFY(next.app.initInstance({}));
        QCOMPARE(next.app.recentFiles().entries().size(), std::size_t{1});
    }
};

QTEST_MAIN(ProjectCommandsTest)
#include "project_commands_test.moc"

// The main window: start-up, menus, keys, toolbar, status bar and routing.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/command_ids.h"
#include "app/qt/lock_key_indicators.h"
#include "app_test_support.h"
#include "modgraph/qt/modulus_graph_owner.h"
#include "view/curve_painter.h"
#include "view/graph_clicks.h"
#include "view/qt/mivaro_view.h"

using namespace mivaro;
using namespace mivaro::test;

class MainFrameTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(useEmptyTestProfile()); }

    void startsWithEmptyDocumentAndNamedWindow() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        CMainFrame& frame = h.frame();
        QCOMPARE(frame.windowTitle(), QString("Mivaro 6.1"));
        QCOMPARE(frame.size(), QSize(1000, 700));
        QCOMPARE(frame.pos(), QPoint(0, 0));
        QVERIFY(frame.isVisible());
        QVERIFY(!frame.isMinimized() && !frame.isMaximized());
        QCOMPARE(frame.document().curveSet().curveCount(), 0);
        QCOMPARE(frame.document().xAxisTitle, std::string("nm"));
        QVERIFY(frame.session().projectPath().empty());
        QVERIFY(h.messages.shown.empty());
        QVERIFY(frame.acceptDrops());
    }

    void startsWithProjectOpenedBeforeTheWindowShows() {
        AppHarness h;
        const std::string a = h.writeCurve("a.MVR");
        const std::string b = h.writeCurve("b.MVR");
        const std::string project = h.write("two.fls", a + "\r\n" + b + "\r\n");
        QVERIFY(h.app.initInstance({QString::fromStdString(project)}));
        CMainFrame& frame = h.frame();
        QCOMPARE(frame.document().curveSet().curveCount(), 2);
        QCOMPARE(frame.document().curveSet().curves[1].path, b);
        QCOMPARE(frame.session().projectPath(), project);
        // The framework's title for the opened file gives way to the product's.
        QCOMPARE(frame.windowTitle(), QString("Mivaro 6.1"));
        QCOMPARE(frame.size(), QSize(1000, 700));
        QCOMPARE(h.app.recentFiles().entries().size(), std::size_t{1});
    }

    void startUpFailsOnAProjectThatCannotBeOpened() {
        AppHarness h;
        QVERIFY(!h.app.initInstance({QString::fromStdString(h.path("nowhere.fls"))}));
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
        QVERIFY(h.messages.shown[0].text.find("nowhere.fls") != std::string::npos);
        QVERIFY(h.app.mainFrame() == nullptr || !h.app.mainFrame()->isVisible());
    }

    void menuHasTheTextsAndCommandsInOrder() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        struct Expected {
            const char* menu;
            std::vector<std::pair<const char*, int>> items;  // text, id (0 = separator)
        };
        using namespace command;
        const std::vector<Expected> expected = {
            {"&File",
             {{"&New\tCtrl+N", FileNew},
              {"", 0},
              {"Import .TXT .CVS", FileImport},
              {"", 0},
              {"Save As .MVR", FileSaveAsMvr},
              {"Export Graph...", FileExportGraph},
              {"Open .MVR", FileOpen},
              {"", 0},
              {"&Save Project\tCtrl+S", FileSave},
              {"Save Project As...", FileSaveAs},
              {"Open Project", FileOpenProject},
              {"", 0},
              {"&Print...\tCtrl+P", FilePrint},
              {"P&rint Setup...", FilePrintSetup},
              {"", 0},
              {"E&xit", AppExit}}},
            {"Edit",
             {{"&Copy\tCtrl+C", EditCopy},
              {"Undo Text \tCtrl+Z", EditUndoText},
              {"&Text Line\tCtrl+T", EditTextLine}}},
            {"&View", {{"Toolbar", ViewToolbar}, {"Status Bar", ViewStatusBar}, {"Results", ViewResults}}},
            {"Setup", {{"Indentation Setup", IndentationSetup}}},
            {"&Help",
             {{"Setup && Graphic Controls", SetupHelpScreen},
              {"&About...", AppAbout},
              {"Help (HelpTavimo.rtf)", HelpFile},
              {"", 0},
              {"Download the latest version", DownloadLatest},
              {"", 0}}},
        };
        const QList<QAction*> menus = h.frame().menuBar()->actions();
        QCOMPARE(menus.size(), qsizetype(expected.size()));
        for (std::size_t m = 0; m < expected.size(); ++m) {
            QCOMPARE(menus[qsizetype(m)]->text(), QString(expected[m].menu));
            const QList<QAction*> items = menus[qsizetype(m)]->menu()->actions();
            QCOMPARE(items.size(), qsizetype(expected[m].items.size()));
            for (std::size_t i = 0; i < expected[m].items.size(); ++i) {
                QAction* item = items[qsizetype(i)];
                const auto& [text, id] = expected[m].items[i];
                QCOMPARE(item->isSeparator(), id == 0);
                if (id != 0) {
                    QCOMPARE(item->text(), QString(text));
                    QCOMPARE(item, h.frame().commandAction(id));
                }
                // Separators take their line in the menu, the last one of "&Help" too.
                QVERIFY(!menus[qsizetype(m)]->menu()->actionGeometry(item).isEmpty());
            }
        }
        // Status-bar prompts come from the prompt strings (the part before "\n").
        QCOMPARE(
            h.frame().commandAction(IndentationSetup)->statusTip(),
            QString("The noise factor that determines when the hold time stops and the unloading begins. "));
        QCOMPARE(h.frame().commandAction(FileSave)->statusTip(), QString("Save the active document"));
    }

    void everyCommandIsHandled() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        using namespace command;
        for (int id :
             {FileNew,          FileImport,      FileSaveAsMvr,   FileOpen,     FileSave,       FileSaveAs,
              FileOpenProject,  AppExit,         EditUndoText,    EditTextLine, ViewToolbar,    ViewStatusBar,
              IndentationSetup, SetupHelpScreen, AppAbout,        HelpFile,     DownloadLatest, EditCopy,
              FilePrint,        FilePrintSetup,  FileExportGraph, ViewResults}) {
            QVERIFY2(h.frame().commandAction(id)->isEnabled(), qPrintable(QString::number(id)));
        }
    }

    void routingGivesEachCommandToItsOwner() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        using namespace command;
        const std::vector<std::pair<int, CommandTarget>> owners = {
            {FileNew, CommandTarget::Application},     {FileOpen, CommandTarget::Document},
            {FileSave, CommandTarget::Document},       {FileOpenProject, CommandTarget::Document},
            {EditUndoText, CommandTarget::View},       {IndentationSetup, CommandTarget::View},
            {SetupHelpScreen, CommandTarget::View},    {ViewToolbar, CommandTarget::Frame},
            {AppAbout, CommandTarget::Application},    {HelpFile, CommandTarget::Document},
            {DownloadLatest, CommandTarget::Document}, {AppExit, CommandTarget::Application},
            {EditCopy, CommandTarget::View},           {FilePrint, CommandTarget::View},
            {FileExportGraph, CommandTarget::View},    {FilePrintSetup, CommandTarget::Application},
        };
        for (const auto& [id, owner] : owners) {
            const CommandTarget* target = h.frame().router().handlerTarget(id);
            QVERIFY2(target != nullptr && *target == owner, qPrintable(QString::number(id)));
        }
        // A second handler for the open command at the application level
        // (the framework's own) must not take it from the document.
        bool applicationOpened = false;
        h.frame().router().add(CommandTarget::Application, FileOpen, [&] { applicationOpened = true; });
        QVERIFY(h.frame().runCommand(FileOpen));
        QVERIFY(!applicationOpened);
        QCOMPARE(h.files.openRequests.size(), std::size_t{1});
    }

    void keysReachTheirCommands() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        CMainFrame& frame = h.frame();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        ScriptedTextLine textLine;
        frame.view().setTextLineDialog(&textLine);

        // Ctrl+O opens standard curve files, never projects.
        QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(h.files.openRequests.size(), std::size_t{1});
        QCOMPARE(h.files.openRequests[0].title, std::string("Select Indentation Curves"));
        QCOMPARE(h.files.openRequests[0].filters.at(0).description,
                 std::string("Standard Curve Files (*.MVR)"));

        // Ctrl+T asks for a text line; Ctrl+Z takes the last text away again.
        QTest::keyClick(&frame, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(textLine.asked, 1);
        GraphTextList& texts = frame.view().textList();
        texts.beginTextPlacement("Es = 72 GPa");
        QVERIFY(texts.leftPress(200, 100));
        QCOMPARE(texts.count(), 1);
        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(texts.count(), 0);

        // Ctrl+S on an unnamed document asks for a project name.
        QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(h.files.saveRequests.size(), std::size_t{1});

        // Ctrl+N renews the document without asking anything.
        const std::string curve = h.writeCurve("k.MVR");
        h.files.openAnswers.push_back({curve});
        QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(frame.document().curveSet().curveCount(), 1);
        QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(frame.document().curveSet().curveCount(), 0);
        QCOMPARE(frame.windowTitle(), QString("Untitled - Tavimo"));
        QVERIFY(h.messages.shown.empty());
    }

    void keysBoundToNothingDoNothing() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        CMainFrame& frame = h.frame();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        const std::string curve = h.writeCurve("n.MVR");
        h.files.openAnswers.push_back({curve});
        frame.runCommand(command::FileOpen);
        const int openRequests = int(h.files.openRequests.size());

        struct Key {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int id;
        };
        const Key keys[] = {{Qt::Key_V, Qt::ControlModifier, command::EditPaste},
                            {Qt::Key_Insert, Qt::ShiftModifier, command::EditPaste},
                            {Qt::Key_Delete, Qt::ShiftModifier, command::EditCut},
                            {Qt::Key_Backspace, Qt::AltModifier, command::EditUndo},
                            {Qt::Key_F6, Qt::NoModifier, command::NextPane},
                            {Qt::Key_F6, Qt::ShiftModifier, command::PrevPane}};
        for (const Key& key : keys) {
            bool bound = false;
            for (QAction* action : frame.actions()) {
                bound = bound || action->shortcut() == QKeySequence(key.modifiers | key.key);
            }
            QVERIFY2(bound, qPrintable(QKeySequence(key.modifiers | key.key).toString()));
            QVERIFY(!frame.router().handles(key.id));
            QTest::keyClick(&frame, key.key, key.modifiers);
        }
        QCOMPARE(frame.document().curveSet().curveCount(), 1);
        QCOMPARE(int(h.files.openRequests.size()), openRequests);
        QVERIFY(h.files.saveRequests.empty());
        QVERIFY(h.messages.shown.empty());
        QVERIFY(h.shell.launches.empty() && h.shell.urls.empty());
        QCOMPARE(h.dialogs.aboutShown + h.dialogs.setupHelpShown, 0);
        // Ctrl+I imports: the curve file dialog offers import files.
        QTest::keyClick(&frame, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(int(h.files.openRequests.size()), openRequests + 1);
        QCOMPARE(h.files.openRequests.back().filters.at(0).description,
                 std::string("Import Curve Files (*.CSV *.TXT)"));
        QCOMPARE(frame.view().textList().count(), 0);
    }

    void toolbarButtonsCarryPicturesTooltipsAndCommands() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        QToolBar* bar = h.frame().mainToolBar();
        QCOMPARE(bar->iconSize(), QSize(16, 15));
        const QList<QAction*> buttons = bar->actions();
        struct Expected {
            int id;
            const char* tip;
            bool enabled;
        };
        using namespace command;
        const std::vector<Expected> expected = {
            {FileNew, "New", true},     {FileOpen, "Open", true}, {FileSave, "Save", true}, {0, "", false},
            {FileImport, "", true},     {EditCopy, "Copy", true}, {EditUndoText, "", true}, {0, "", false},
            {FilePrint, "Print", true}, {0, "", false},           {AppAbout, "About", true}};
        QCOMPARE(buttons.size(), qsizetype(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QAction* button = buttons[qsizetype(i)];
            QCOMPARE(button->isSeparator(), expected[i].id == 0);
            if (expected[i].id == 0) {
                continue;
            }
            QCOMPARE(button->property("mivaroCommandId").toInt(), expected[i].id);
            QCOMPARE(button->isEnabled(), expected[i].enabled);
            QVERIFY(!button->icon().isNull());
            if (expected[i].tip[0] != '\0') {
                QCOMPARE(button->toolTip(), QString(expected[i].tip));
            }
        }
        // Import and Undo Text show no tooltip at all (not their menu text).
        const auto tipShownFor = [bar](QAction* button) {
            QToolTip::hideText();
            if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) {
                return QString("(still showing)");
            }
            QWidget* widget = bar->widgetForAction(button);
            QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), widget->mapToGlobal(QPoint(4, 4)));
            QApplication::sendEvent(widget, &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(tipShownFor(buttons[0]), QString("New"));
        QCOMPARE(tipShownFor(buttons[6]), QString());
        QToolTip::hideText();

        // The second button opens curve files, not projects.
        qobject_cast<QToolButton*>(bar->widgetForAction(buttons[1]))->click();
        QCOMPARE(h.files.openRequests.size(), std::size_t{1});
        QCOMPARE(h.files.openRequests[0].title, std::string("Select Indentation Curves"));
        qobject_cast<QToolButton*>(bar->widgetForAction(buttons[10]))->click();
        QCOMPARE(h.dialogs.aboutShown, 1);
    }

    void viewMenuTogglesToolbarAndStatusBar() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        CMainFrame& frame = h.frame();
        QAction* toolbarItem = frame.commandAction(command::ViewToolbar);
        QAction* statusItem = frame.commandAction(command::ViewStatusBar);
        QVERIFY(toolbarItem->isChecked() && statusItem->isChecked());
        for (int round = 0; round < 2; ++round) {
            toolbarItem->trigger();
            statusItem->trigger();
            QVERIFY(!frame.mainToolBar()->isVisible());
            QVERIFY(!frame.statusBar()->isVisible());
            QVERIFY(!toolbarItem->isChecked() && !statusItem->isChecked());
            toolbarItem->trigger();
            statusItem->trigger();
            QVERIFY(frame.mainToolBar()->isVisible());
            QVERIFY(frame.statusBar()->isVisible());
            QVERIFY(toolbarItem->isChecked() && statusItem->isChecked());
        }
    }

    void statusBarHasMessagePaneAndLockIndicators() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        CMainFrame& frame = h.frame();
        QCOMPARE(frame.statusBar()->currentMessage(), QString("Ready"));
        LockKeyIndicators* locks = frame.lockIndicators();
        QCOMPARE(locks->capsPane()->text(), QString("CAP"));
        QCOMPARE(locks->numPane()->text(), QString("NUM"));
        QCOMPARE(locks->scrollPane()->text(), QString("SCRL"));
        // Highlighting an item shows its prompt; leaving it brings "Ready" back.
        QVERIFY(frame.commandAction(command::HelpFile)->showStatusText(&frame));
        QCOMPARE(frame.statusBar()->currentMessage(),
                 QString("Opens a help file that can be edited and then saved by the user. "));
        frame.statusBar()->clearMessage();
        QCOMPARE(frame.statusBar()->currentMessage(), QString("Ready"));

        // The pointer over a menu item shows its prompt, over the greyed
        // items of commands not built yet too; over a separator "Ready".
        QMenu* file = frame.menuBar()->actions().at(0)->menu();
        file->popup(frame.mapToGlobal(QPoint(0, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        const auto pointAt = [&](int index) {
            QTest::mouseMove(file, file->actionGeometry(file->actions().at(index)).center());
            return frame.statusBar()->currentMessage();
        };
        QCOMPARE(pointAt(0), QString("Create a new document"));
        QCOMPARE(pointAt(2), QString("Import an indentation text file "));
        QCOMPARE(pointAt(4),
                 QString("Makes all curve files the same format. This allows you to compare the results from "
                         "several testing machines."));
        QCOMPARE(pointAt(3), QString("Ready"));
        QCOMPARE(pointAt(4).left(5), QString("Makes"));
        file->hide();
        QCOMPARE(frame.statusBar()->currentMessage(), QString("Ready"));
    }

    // With the program's own message boxes: what "XY-Graph" opens belongs to
    // it, so the main window does not come up in front of it.
    void modulusGraphOwnsItsDialogsAndComesBackOnScreen() {
        QTemporaryDir dir;
        RecentFileList recent;
        ScriptedFileDialogs files;
        RecordingShell shell;
        ScriptedAppDialogs dialogs;
        CMainFrame frame(dir.path().toStdString() + "/", recent,
                         FramePorts{nullptr, &files, &shell, &dialogs});
        frame.show();
        auto* owner =
            dynamic_cast<ModulusGraphWindowOwner*>(frame.view().clickCommands().ports().dialogs.modulusGraph);
        QVERIFY(owner != nullptr);
        const double x[] = {100, 200, 300, 400};
        const double y[] = {50, 80, 70, 90};
        owner->setNextSeriesStyle(0, SQUARE_SOLID, 3);
        owner->AddSeries(x, y, 4);
        owner->redrawAndShow();
        XYGraphWindow* window = owner->window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->repaint();
        const PlotLayout& layout = owner->graph().layout();
        const PlotMapping map(owner->graph().settings().x, owner->graph().settings().y, layout);

        // A black point gives the "Information" box, the X axis band its dialog.
        for (const QPoint at : {QPoint(map.px(200), map.py(80)), QPoint(map.px(250), layout.plotBottom)}) {
            QWidget* parent = nullptr;
            QTimer::singleShot(0, [&parent] {
                auto* opened = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(opened != nullptr);
                parent = opened->parentWidget();
                opened->done(QDialog::Rejected);
            });
            QTest::mouseClick(window, Qt::RightButton, {}, at);
            QCOMPARE(parent, static_cast<QWidget*>(window));
        }

        window->hide();
        window->move(-3000, 5000);
        owner->redrawAndShow();
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
    }

    void exitClosesTheWindow() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        QVERIFY(h.frame().isVisible());
        h.frame().commandAction(command::AppExit)->trigger();
        QVERIFY(!h.frame().isVisible());
        QVERIFY(h.messages.shown.empty());
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"

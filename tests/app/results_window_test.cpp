// The "Results" window in the program: shown by the first analysis beside the
// main window without touching it, Ctrl+C, Save CSV, Clear, and "Analyse all
// curves" against `mivaro-cli batch`.
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <filesystem>

#include "../analysis/analysis_fakes.h"
#include "app/command_ids.h"
#include "app/qt/results_window.h"
#include "app_test_support.h"
#include "platform/c_format.h"
#include "support/run_cli.h"
#include "view/graph_clicks.h"
#include "view/plot_frame.h"
#include "view/qt/mivaro_view.h"

using namespace mivaro;
using namespace mivaro::test;
namespace fs = std::filesystem;

namespace {

const fs::path kExamples = fs::path(MIVARO_SOURCE_DIR) / "examples";

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// The program with the two example curves open and dialogs that answer with
// the values they open with.
struct ExampleProgram {
    AppHarness h;
    ScriptedModulusDialog modulus;
    ScriptedHardnessDialog hardness;
    ScriptedLoadingDialog loading;
    std::vector<std::string> files;

    bool start() {
        if (!fs::exists(kExamples / "fused_silica_labelled.MVR")) {
            return false;
        }
        fs::copy_file(kExamples / "MivaroOpenSetup.par", h.path("MivaroOpenSetup.par"));
        HardnessSettings hardnessValues;
        hardnessValues.formula = 0;
        writeHardnessSettings(h.settingsDirectory(), hardnessValues);
        hardness.answer = hardnessValues;
        files = {(kExamples / "fused_silica_labelled.MVR").string(),
                 (kExamples / "fused_silica_unlabelled.MVR").string()};
        const std::string project = h.write("two.fls", files[0] + "\r\n" + files[1] + "\r\n");
        if (!h.app.initInstance({QString::fromStdString(project)})) {
            return false;
        }
        h.frame().view().clickCommands().ports().dialogs =
            ClickDialogs{&loading, &hardness, &modulus, nullptr};
        return true;
    }
    ResultsWindowOwner& results() { return h.frame().results(); }
};

}  // namespace

class ResultsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(useEmptyTestProfile()); }

    void firstAnalysisShowsItBesideTheMainWindowWhichStaysAsItWas() {
        ExampleProgram p;
        if (!p.start()) {
            QSKIP("example curves not found");
        }
        CMainFrame& frame = p.h.frame();
        // Room on the screen for it beside the main window.
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.resize(360, 400);
        QTRY_COMPARE(frame.geometry().width(), 360);
        frame.activateWindow();
        const QRect geometry = frame.geometry();
        const QRect client = frame.view().geometry();
        QVERIFY(p.results().window() == nullptr);
        QAction* item = frame.commandAction(command::ViewResults);
        QVERIFY(item->isCheckable() && !item->isChecked());

        p.modulus.action = kActionModulus;
        frame.view().clickCommands().runOn(350);
        ResultsWindow* window = p.results().window();
        QVERIFY(window != nullptr);
        QCOMPARE(p.results().table().rowCount(), std::size_t{1});
        QVERIFY(window->isVisible());
        QVERIFY(item->isChecked());
        QVERIFY(!window->geometry().intersects(frame.frameGeometry()));
        QVERIFY(frame.screen()->availableGeometry().contains(window->geometry()));
        QVERIFY(QApplication::activeWindow() != window);
        // The result text still waits for the next press on the graph.
        QVERIFY(frame.view().textList().placing());

        // Rows of every analysis; a Cancel adds none, and hiding keeps it hidden.
        p.h.frame().runCommand(command::ViewResults);
        QVERIFY(!window->isVisible() && !item->isChecked());
        p.modulus.action = kActionEquation;
        frame.view().clickCommands().runOn(500);
        p.modulus.action = kActionCancelled;
        frame.view().clickCommands().runOn(350);
        frame.view().clickCommands().runOn(299);
        QVERIFY(!window->isVisible());
        QCOMPARE(p.results().table().rowCount(), std::size_t{3});
        QCOMPARE(window->tableView()->model()->rowCount(), 3);
        QCOMPARE(frame.geometry(), geometry);
        QCOMPARE(frame.view().geometry(), client);
    }

    void copyClearAndSaveCsv() {
        ExampleProgram p;
        if (!p.start()) {
            QSKIP("example curves not found");
        }
        CMivaro4View& view = p.h.frame().view();
        p.modulus.action = kActionModulus;
        view.clickCommands().runOn(350);
        view.clickCommands().runOn(299);
        p.loading.answer.action = kLoadingDisplacementRate;
        view.clickCommands().runOn(100);
        ResultsWindow& window = *p.results().window();
        const ResultsTable& table = p.results().table();
        QCOMPARE(table.rowCount(), std::size_t{3});
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // Ctrl+C with rows 1 and 3 selected: a header and those two rows.
        QTableView* tableView = window.tableView();
        tableView->setFocus();
        tableView->selectRow(0);
        tableView->selectionModel()->select(tableView->model()->index(2, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QApplication::clipboard()->clear();
        QTest::keyClick(tableView, Qt::Key_C, Qt::ControlModifier);
        const std::vector<std::string> copied = split(QApplication::clipboard()->text().toStdString(), '\n');
        QCOMPARE(copied.size(), std::size_t{4});
        QCOMPARE(split(copied[0], '\t'), table.columns());
        QCOMPARE(copied[1] + "\n", split(table.tabSeparated({0}), '\n')[1] + "\n");
        QCOMPARE(copied[2], split(table.tabSeparated({2}), '\n')[1]);

        // Sorted by a column, the copy follows the order shown.
        tableView->clearSelection();
        const int text = static_cast<int>(std::find(table.columns().begin(), table.columns().end(), "text") -
                                          table.columns().begin());
        tableView->sortByColumn(text, Qt::AscendingOrder);
        window.copyRows();
        const std::vector<std::string> all = split(QApplication::clipboard()->text().toStdString(), '\n');
        QCOMPARE(all.size(), std::size_t{5});
        QVERIFY(all[1].find(" nm/s") != std::string::npos);
        QVERIFY(all[2].find("Es = ") != std::string::npos);
        QVERIFY(all[3].find("HM = ") != std::string::npos);

        p.h.files.saveAnswers.push_back(p.h.path("results.csv"));
        window.saveCsv();
        QCOMPARE(readFile(p.h.path("results.csv")), table.csv());
        QCOMPARE(p.h.messages.shown.back().caption, std::string("File Saved As:"));

        p.h.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
        window.clearRows();
        QCOMPARE(table.rowCount(), std::size_t{3});
        window.clearRows();
        QCOMPARE(table.rowCount(), std::size_t{0});
        QCOMPARE(tableView->model()->rowCount(), 0);
        QCOMPARE(p.h.messages.shown.back().buttons, MessageButtons::YesNo);
    }

    void analyseAllCurvesGivesTheRowsOfTheBatchCommand() {
        ExampleProgram p;
        if (!p.start()) {
            QSKIP("example curves not found");
        }
        ResultsWindow& window = p.results().windowCreated();
        QSignalSpy finished(&window, &ResultsWindow::analysisFinished);
        window.analyseAllCurves();
        QVERIFY(window.analysing());
        QVERIFY(!window.analyseButton()->isEnabled());
        QVERIFY(finished.wait(60000));
        QVERIFY(window.analyseButton()->isEnabled());
        const ResultsTable& table = p.results().table();
        QCOMPARE(table.rowCount(), p.files.size());

        const RunResult batch =
            runCli({"batch", "--iso", "--settings", p.h.settingsDirectory(), p.files[0], p.files[1]});
        QCOMPARE(batch.status, 0);
        const std::vector<std::string> lines = split(batch.out, '\n');
        const std::vector<std::string> header = split(lines[0], ',');
        for (std::size_t r = 0; r < table.rowCount(); ++r) {
            const std::vector<std::string> fields = split(lines[r + 1], ',');
            QCOMPARE(fields.size(), header.size());
            for (std::size_t c = 0; c < header.size(); ++c) {
                const auto column = std::find(table.columns().begin(), table.columns().end(), header[c]);
                const std::string cell =
                    column == table.columns().end()
                        ? std::string()
                        : table.exactText(r, static_cast<std::size_t>(column - table.columns().begin()));
                QCOMPARE(cell, fields[c]);
            }
        }

        // A cancelled run ends all the same and leaves the rows shown before.
        window.analyseAllCurves();
        window.cancelAnalysis();
        QVERIFY(finished.wait(60000));
        QVERIFY(window.analyseButton()->isEnabled() && !window.analysing());
        QVERIFY(table.rowCount() >= p.files.size() && table.rowCount() <= 2 * p.files.size());
    }

    void hintInTheStatusBar() {
        ExampleProgram p;
        if (!p.start()) {
            QSKIP("example curves not found");
        }
        CMainFrame& frame = p.h.frame();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        CMivaro4View& view = frame.view();
        view.repaint();
        const PlotMapping mapping(view.settings(), view.plotLayout());
        const CurveSet& set = frame.document().curveSet();
        const QPoint at(mapping.px(set.depth[350]), mapping.py(set.force[350]));
        QTest::mouseMove(&view, at);
        QTRY_COMPARE(frame.statusBar()->currentMessage(),
                     QString("Unloading point 350 of fused_silica_labelled.MVR: left click for the modulus"));
        QTest::mouseMove(&view, QPoint(view.width() - 2, 2));
        QTRY_COMPARE(frame.statusBar()->currentMessage(), QString("Ready"));
    }
};

QTEST_MAIN(ResultsWindowTest)
#include "results_window_test.moc"

// The Setup and Help menus: machine setup, click map, About, help file and
// download page, with the desktop replaced by a recorder.

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/command_ids.h"
#include "app/help_commands.h"
#include "app/qt/app_dialogs_qt.h"
#include "app/qt/click_map_picture.h"
#include "app/qt/shipped_files.h"
#include "app_test_support.h"

using namespace mivaro;
using namespace mivaro::test;

namespace {

// Runs the command with the working directory set to `directory`.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::string& directory) : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~WorkingDirectory() { std::filesystem::current_path(m_previous); }

  private:
    std::filesystem::path m_previous;
};

QString allLabelText(QWidget& widget) {
    QString text;
    for (QLabel* label : widget.findChildren<QLabel*>()) {
        text += label->text() + "\n";
    }
    return text;
}

template <typename Dialog>
Dialog* openDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog != nullptr && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

}  // namespace

class HelpCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(useEmptyTestProfile()); }

    void indentationSetupReadsAndWritesSetupPar() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        const std::string setupPar = h.path("setup.par");

        h.frame().runCommand(command::IndentationSetup);  // no file yet: 0.5, cancelled
        QCOMPARE(h.dialogs.shownSetupValues, std::vector<float>{0.5f});
        QVERIFY(!std::filesystem::exists(setupPar));

        h.dialogs.setupAnswer = 1.25f;
        h.frame().runCommand(command::IndentationSetup);
        QCOMPARE(readFile(setupPar), std::string("1.250000\n"));

        h.dialogs.setupAnswer.reset();
        h.frame().runCommand(command::IndentationSetup);  // shows the stored value; cancel keeps it
        QCOMPARE(h.dialogs.shownSetupValues.back(), 1.25f);
        QCOMPARE(readFile(setupPar), std::string("1.250000\n"));
    }

    void machineSetupDialogWantsANumberBeforeOk() {
        AppHarness h;
        QtAppDialogs dialogs(nullptr);
        MachineSetupValues values;
        bool sawRefusal = false;
        // Type a non-number and press OK: the dialog says so and stays open;
        // then type a number and press OK.
        QTimer::singleShot(0, [&] {
            auto* dialog = openDialog<MachineSetupDialog>();
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString("Indentation Machine Setup"));
            const QString labels = allLabelText(*dialog);
            QVERIFY(labels.contains("Test Machine Force Instability During Hold Time :"));
            QVERIFY(labels.contains("+/- mN"));
            QVERIFY(
                labels.contains("note: This value is used to find the start point of the unloading data."));
            QCOMPARE(dialog->valueField()->text(), QString("0.5"));
            dialog->valueField()->setText("0.7x");
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                sawRefusal = box->text() == "Please enter a number.";
                box->accept();
                QTimer::singleShot(0, [dialog] {
                    QVERIFY(dialog->isVisible());
                    dialog->valueField()->setText("0.75");
                    dialog->accept();
                });
            });
            dialog->accept();
        });
        QCOMPARE(dialogs.editMachineSetup(values), DialogAction::Ok);
        QVERIFY(sawRefusal);
        QCOMPARE(values.forceInstabilityMn, 0.75f);

        // Cancel hands back nothing.
        QTimer::singleShot(0, [] {
            auto* dialog = openDialog<MachineSetupDialog>();
            QVERIFY(dialog != nullptr);
            dialog->valueField()->setText("9");
            dialog->reject();
        });
        QCOMPARE(dialogs.editMachineSetup(values), DialogAction::Cancel);
        QCOMPARE(values.forceInstabilityMn, 0.75f);
    }

    void helpFileIsPlacedInTheWorkingDirectoryAndOpenedByName() {
        AppHarness h;
        const std::string a = h.writeCurve("a.MVR");
        std::filesystem::create_directory(h.path("elsewhere"));
        const std::string project = h.write("elsewhere/p.fls", a + "\r\n");
        QVERIFY(h.app.initInstance({QString::fromStdString(project)}));
        QTemporaryDir work;
        WorkingDirectory cd(work.path().toStdString());
        const std::string helpPath = work.path().toStdString() + "/HelpTavimo.rtf";

        h.frame().runCommand(command::HelpFile);
        QCOMPARE(h.shell.launches.size(), std::size_t{1});
        QCOMPARE(h.shell.launches[0].second, std::string("HelpTavimo.rtf"));
        QVERIFY(!h.shell.launches[0].first.empty());
        QVERIFY(std::filesystem::exists(helpPath));
        QCOMPARE(readFile(helpPath), shippedHelpText());
        QVERIFY(shippedHelpText().rfind("{\\rtf1", 0) == 0);
        QVERIFY(!std::filesystem::exists(h.path("elsewhere/HelpTavimo.rtf")));

        // The user's edits are never overwritten; an empty document works too.
        std::ofstream(helpPath, std::ios::binary) << "{\\rtf1 my notes}";
        h.frame().runCommand(command::FileNew);
        h.frame().runCommand(command::HelpFile);
        QCOMPARE(h.shell.launches.size(), std::size_t{2});
        QCOMPARE(readFile(helpPath), std::string("{\\rtf1 my notes}"));
        QVERIFY(h.messages.shown.empty());
    }

    void downloadAsksAndOpensThePageOnlyOnYes() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        h.messages.answers = {MessageAnswer::No};
        h.frame().runCommand(command::DownloadLatest);
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
        QCOMPARE(
            h.messages.shown[0].text,
            std::string("Would you like to download the latest version of this software from the Internet?"));
        QCOMPARE(h.messages.shown[0].caption, std::string("Korvex Tavimo"));
        QVERIFY(h.messages.shown[0].buttons == MessageButtons::YesNo);
        QVERIFY(h.shell.urls.empty() && h.shell.launches.empty());

        h.messages.answers = {MessageAnswer::Yes};
        h.frame().runCommand(command::DownloadLatest);
        QCOMPARE(h.shell.urls.size(), std::size_t{1});
        const QString url = QString::fromStdString(h.shell.urls[0]);
        QVERIFY(url.startsWith("https://"));
        QVERIFY(url.endsWith("/mivaro/index.html"));
    }

    void aboutAndClickMapShowTheirContent() {
        AppHarness h;
        QVERIFY(h.app.initInstance({}));
        h.frame().runCommand(command::AppAbout);
        h.frame().runCommand(command::SetupHelpScreen);
        QCOMPARE(h.dialogs.aboutShown, 1);
        QCOMPARE(h.dialogs.setupHelpShown, 1);

        AboutDialog about;
        QCOMPARE(about.windowTitle(), QString("About Mivaro"));
        const QString text = allLabelText(about);
        for (const char* needed : {"Mivaro", "6.1", "cite", "demonstrations, training and custom software",
                                   "Contact Information:", "Please contact us if you have any questions."}) {
            QVERIFY2(text.contains(needed), needed);
        }
        SetupHelpDialog help;
        QCOMPARE(help.windowTitle(), QString("Setup Help Screen"));
        const QPixmap picture = clickMapPicture();
        QCOMPARE(picture.size(), QSize(571, 364));
        // Not a blank picture: the curve and notes put ink on it.
        const QImage image = picture.toImage();
        int ink = 0;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2) {
                ink += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
            }
        }
        QVERIFY(ink > 1000);
    }
};

QTEST_MAIN(HelpCommandsTest)
#include "help_commands_test.moc"

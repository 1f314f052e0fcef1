// The Qt file dialogs and message boxes behind the ports, answered by timers.

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "app/qt/qt_ports.h"

using namespace mivaro;

namespace {

QFileDialog* openFileDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog != nullptr && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

}  // namespace

class QtPortsTest : public QObject {
    Q_OBJECT

  private slots:
    void openDialogHonoursTheRequest() {
        QTemporaryDir dir;
        for (const char* name : {"a.MVR", "b.MVR"}) {
            std::ofstream((dir.path() + "/" + name).toStdString()) << "x\n";
        }
        QtFileDialogPort port;
        OpenFileRequest request{
            "Select Indentation Curves", {{"Standard Curve Files (*.MVR)", {"*.MVR"}}}, ".csv", true};
        QTimer::singleShot(0, [&] {
            QFileDialog* dialog = openFileDialog();
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString("Select Indentation Curves"));
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
            QCOMPARE(dialog->nameFilters(), QStringList{"Standard Curve Files (*.MVR)"});
            QCOMPARE(dialog->defaultSuffix(), QString("csv"));
            dialog->setDirectory(dir.path());
            dialog->selectFile("\"a.MVR\" \"b.MVR\"");
            static_cast<QDialog*>(dialog)->accept();
        });
        const auto chosen = port.chooseFilesToOpen(request);
        QVERIFY(chosen.has_value());
        QCOMPARE(chosen->size(), std::size_t{2});

        QTimer::singleShot(0, [] { openFileDialog()->reject(); });
        QVERIFY(!port.chooseFilesToOpen(request).has_value());
    }

    void saveDialogAddsTheExtensionAndAsksBeforeOverwriting() {
        QTemporaryDir dir;
        QtFileDialogPort port;
        SaveFileRequest request{"Save As", {{"Tavimo Files (*.fls)", {"*.fls"}}}, ".fls", ""};
        QTimer::singleShot(0, [&] {
            QFileDialog* dialog = openFileDialog();
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
            QCOMPARE(dialog->nameFilters(), QStringList{"Tavimo Files (*.fls)"});
            dialog->setDirectory(dir.path());
            dialog->selectFile("project");
            static_cast<QDialog*>(dialog)->accept();
        });
        const auto chosen = port.chooseFileToSave(request);
        QVERIFY(chosen.has_value());
        QCOMPARE(QString::fromStdString(*chosen), dir.path() + "/project.fls");
    }

    void filtersWithoutPatternsInTheirTextGetThem() {
        QCOMPARE(qtNameFilter({"Curves", {"*.CSV", "*.TXT"}}), QString("Curves (*.CSV *.TXT)"));
        QCOMPARE(qtNameFilter({"Import Curve Files (*.CSV *.TXT)", {"*.CSV", "*.TXT"}}),
                 QString("Import Curve Files (*.CSV *.TXT)"));
    }

    void messageBoxesAnswerWithTheButtonPressed() {
        QtMessagePort port;
        for (const auto& [button, answer] : {std::pair{QMessageBox::Yes, MessageAnswer::Yes},
                                             std::pair{QMessageBox::No, MessageAnswer::No}}) {
            QTimer::singleShot(0, [button = button] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                QCOMPARE(box->windowTitle(), QString("Korvex Tavimo"));
                box->button(button)->click();
            });
            QVERIFY(port.showMessage("Download?", "Korvex Tavimo", MessageButtons::YesNo) == answer);
        }
    }

    void errorBoxesShowTheCriticalIcon() {
        QtMessagePort port;
        for (const auto& [caption, icon] :
             {std::pair{"Error", QMessageBox::Critical}, std::pair{"Message", QMessageBox::Information},
              std::pair{"Information", QMessageBox::Information},
              std::pair{"File Saved As:", QMessageBox::Information}}) {
            QMessageBox::Icon shown = QMessageBox::NoIcon;
            QTimer::singleShot(0, [&shown] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                shown = box->icon();
                box->button(QMessageBox::Ok)->click();
            });
            port.showMessage("text", caption, MessageButtons::Ok);
            QCOMPARE(shown, icon);
        }
    }
};

QTEST_MAIN(QtPortsTest)
#include "qt_ports_test.moc"

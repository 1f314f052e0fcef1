// The import setup dialog driven as a user would, offscreen.
#include "curves/qt/import_setup_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "curves/recognise/import_recognition.h"

namespace mivaro {

class ImportSetupDialogTest : public QObject {
    Q_OBJECT

  private:
    static ImportDialogState sample() {
        ImportDialogState state;
        state.rawText = "Depth (nm)\tLoad (\xB5N)\n12.5\t0.31\n13.5\t0.41\n14.5\t0.51\n";
        state.preview = buildImportPreview(state);
        return state;
    }
    template <typename T>
    static T* child(QWidget& window, const char* name) {
        T* widget = window.findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no child %s", name);
        }
        return widget;
    }

  private slots:
    void notificationsRebuildThePreviewAndUnitsAreOnlyStored() {
        ImportSetupWindow window(sample());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* preview = child<QPlainTextEdit>(window, "preview");
        QCOMPARE(window.windowTitle(), QString("Import Indentation Test Data Text File Setup"));
        QVERIFY(preview->toPlainText().startsWith(QString::fromUtf8("H> Depth (nm)\tLoad (\u00B5N)")));
        QCOMPARE(child<QPlainTextEdit>(window, "displacementPreview")->toPlainText(), QString("?????"));

        // A separator radio rebuilds: the tab becomes the drawn column marker.
        child<QRadioButton>(window, "separator1")->click();
        QVERIFY(preview->toPlainText().contains(QString::fromUtf8("12.5  \u2502  0.31")));

        // Leaving a column box rebuilds.
        QLineEdit* column = child<QLineEdit>(window, "displacementColumn");
        column->setFocus();
        column->selectAll();
        QTest::keyClicks(column, "1");
        child<QLineEdit>(window, "forceColumn")->setFocus();
        QCOMPARE(child<QPlainTextEdit>(window, "displacementPreview")->toPlainText(),
                 QString("12.5   \n13.5   \n14.5   "));

        // A unit radio only stores its choice.
        const QString before = preview->toPlainText();
        child<QRadioButton>(window, "forceUnit1")->click();
        QCOMPARE(window.state().setup.forceUnit, 1);
        QCOMPARE(preview->toPlainText(), before);

        child<QPushButton>(window, "guess")->click();
        QCOMPARE(window.state().setup.forceColumn, 2);
        QCOMPARE(window.state().setup.forceUnit, 0);
        QVERIFY(child<QRadioButton>(window, "forceUnit0")->isChecked());
        QCOMPARE(child<QLineEdit>(window, "forceColumn")->text(), QString("2"));
        if (const QByteArray shot = qgetenv("MIVARO_SHOT"); !shot.isEmpty()) {
            window.grab().save(QString::fromLocal8Bit(shot));
        }
    }

    // The line under the preview tells on opening; Recognise takes the file's
    // units and OK then hands back a state that uses the recogniser; Guess
    // returns to the setup's road.
    void recogniseFillsTheUnitsAndGuessLeavesIt() {
        QTemporaryDir folder;
        const std::string path = folder.filePath("indent.txt").toStdString();
        {
            std::ofstream out(path, std::ios::binary);
            for (int i = 0; i <= 40; ++i) {
                const int load = i <= 20 ? i : 40 - i;
                out << i * 0.5 << '\t' << 10 + 40 * load << '\t' << load << "\r\n";
            }
        }
        ImportDialogState state = sample();
        state.setup.depthUnit = 2;
        state.setup.forceUnit = 0;
        recognise::recogniseForImport(state, path);
        QVERIFY(state.recognisable);

        ImportSetupWindow window(state);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* line = child<QLabel>(window, "recognition");
        auto* recogniseButton = child<QPushButton>(window, "recognise");
        QVERIFY(line->text().startsWith("Micromaterials NanoTest text: 1 indent, depth nm, load mN"));
        QVERIFY(line->text().endsWith("Press Recognise to use it."));
        const QByteArray shot = qgetenv("MIVARO_SHOT");
        if (!shot.isEmpty()) {
            window.grab().save(QString::fromLocal8Bit(shot) + "-opened.png");
        }
        recogniseButton->click();
        QVERIFY(window.state().useRecogniser);
        QCOMPARE(window.state().setup.depthUnit, 0);
        QCOMPARE(window.state().setup.forceUnit, 1);
        QVERIFY(child<QRadioButton>(window, "forceUnit1")->isChecked());
        QVERIFY(line->text().endsWith(
            "OK writes one standard curve file per indent beside the file and loads them."));
        if (!shot.isEmpty()) {
            window.grab().save(QString::fromLocal8Bit(shot) + "-recognised.png");
        }
        child<QPushButton>(window, "guess")->click();
        QVERIFY(!window.state().useRecogniser);
        QVERIFY(line->text().endsWith("Press Recognise to use it."));

        // A file no format claims: the line says so and Recognise is not offered.
        ImportSetupWindow plain(sample());
        QVERIFY(!child<QPushButton>(plain, "recognise")->isEnabled());
    }

    void okHandsBackTheStateAndANonNumberIsRefused() {
        QtImportSetupDialog port(nullptr);
        QTimer::singleShot(0, [] {
            auto* window = qobject_cast<ImportSetupWindow*>(QApplication::activeModalWidget());
            QVERIFY(window != nullptr);
            child<QLineEdit>(*window, "headerLines")->setText("x");
            // The "Please enter an integer." box comes up; close it whenever it does.
            auto* closer = new QTimer(window);
            QObject::connect(closer, &QTimer::timeout, [] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    box->reject();
                }
            });
            closer->start(20);
            window->accept();
            QVERIFY(window->isVisible());
            child<QLineEdit>(*window, "headerLines")->setText("2");
            child<QCheckBox>(*window, "segmentPresent")->click();
            window->accept();
        });
        const auto answer = port.askImportSetup(sample());
        QVERIFY(answer.has_value());
        QCOMPARE(answer->setup.headerLines, 2);
        QCOMPARE(answer->setup.segmentColumnPresent, 1);
        QCOMPARE(answer->preview.segment, std::string(kFlaggedColumn));
    }
};

}  // namespace mivaro

QTEST_MAIN(mivaro::ImportSetupDialogTest)
#include "import_setup_dialog_test.moc"

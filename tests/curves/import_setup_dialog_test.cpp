// The import setup dialog driven as a user would, offscreen.
#include "curves/qt/import_setup_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

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

// The four analysis dialogs as a user meets them: a click on a point of the
// example curve in the main view, the real dialog answered by a timer.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <filesystem>
#include <functional>

#include "analysis/analysis_fakes.h"
#include "analysis/branch_flow.h"
#include "analysis/hardness_flow.h"
#include "view/plot_frame.h"
#include "view/qt/mivaro_view.h"

namespace mivaro {

namespace fs = std::filesystem;

class AnalysisDialogsTest : public QObject {
    Q_OBJECT

  private:
    // Example curve: loading 0..199, hold 200..299, unload 300..399, bottom
    // hold 400..449, reload 450..549, unload 550..699.
    static constexpr int kLoad = 100, kHold = 250, kUnload = 350;

    struct Harness {
        test::RecordingMessages messages;
        NoRepaint repaint;
        fs::path dir;
        std::unique_ptr<CMivaro4Doc> doc;
        QWidget window;
        CMivaro4View* view = nullptr;

        explicit Harness(const char* name) {
            dir = fs::path(MIVARO_BINARY_DIR) / "analysis_dialogs_test" / name;
            fs::remove_all(dir);
            fs::create_directories(dir);
            doc = std::make_unique<CMivaro4Doc>(dir.string() + "/", messages, repaint);
            doc->appendPaths({std::string(MIVARO_SOURCE_DIR) + "/examples/fused_silica_labelled.MVR"});
            doc->rebuildCurveSet();
            auto* layout = new QVBoxLayout(&window);
            layout->setContentsMargins(0, 0, 0, 0);
            view = new CMivaro4View(*doc, &window);
            view->setFixedSize(800, 600);
            view->setMessagePort(&messages);
            layout->addWidget(view);
            window.show();
        }
        QPoint pixelOf(int point) const {
            const PlotMapping mapping(view->settings(), view->plotLayout());
            const auto k = static_cast<std::size_t>(point);
            return {mapping.px(doc->curveSet().depth[k]), mapping.py(doc->curveSet().force[k])};
        }
        Rgb colourOf(int point) const { return doc->curveSet().colour[static_cast<std::size_t>(point)]; }
        bool settingsWritten() const { return !fs::is_empty(dir); }
    };

    // Answers the next modal dialog, which must carry the title.
    static void answer(const QString& title, std::function<void(QDialog&)> act) {
        QTimer::singleShot(0, [title, act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), title);
            act(*dialog);
            // A dialog the answer did not close goes, so the test can go on.
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
    }
    static QAbstractButton* button(QDialog& dialog, const QString& text) {
        for (auto* b : dialog.findChildren<QAbstractButton*>()) {
            if (b->text() == text) {
                return b;
            }
        }
        return nullptr;
    }
    static QLineEdit* field(QDialog& dialog, const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void press(QDialog& dialog, const QString& text) {
        QAbstractButton* b = button(dialog, text);
        QVERIFY2(b != nullptr, qPrintable(text));
        b->click();
    }

    // The result waits on the cursor; the next press places it at a curve
    // point, and the release of that press opens no dialog.
    static void placeResult(Harness& h, const std::string& textStart) {
        QVERIFY(h.view->textList().placing());
        QCOMPARE(h.view->cursor().shape(), Qt::BitmapCursor);
        bool dialogOpened = false;
        QTimer::singleShot(200, [&dialogOpened] {
            if (QWidget* stray = QApplication::activeModalWidget()) {
                dialogOpened = true;
                stray->close();
            }
        });
        const int count = h.view->textList().count();
        QTest::mouseClick(h.view, Qt::LeftButton, {}, h.pixelOf(kUnload));
        QTest::qWait(300);
        QVERIFY(!dialogOpened);
        QCOMPARE(h.view->textList().count(), count + 1);
        const std::string& placed = h.view->textList().slot(count).text;
        QVERIFY2(placed.rfind(textStart, 0) == 0, placed.c_str());
    }

  private slots:
    void modulusDialogCalculatesAndSolveForGreysTheSolvedField() {
        Harness h("modulus");
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        Rgb whileOpen = 0;
        answer("Elastic Modulus and Poisson's Ratio Calculation", [&](QDialog& d) {
            whileOpen = h.colourOf(kUnload);
            QCOMPARE(field(d, "fileTitle")->text(), QStringLiteral("fused_silica_labelled.MVR"));
            QCOMPARE(field(d, "branchName")->text(), QStringLiteral("Unloading Curve"));
            QVERIFY(field(d, "fileTitle")->isReadOnly());
            QCOMPARE(field(d, "forceMinimum")->text(), QStringLiteral("50"));
            const char* names[] = {"Es", "Vs", "Ei", "Vi"};
            QVERIFY(!field(d, "Es")->isEnabled());
            for (int chosen = 3; chosen >= 0; --chosen) {
                press(d, QStringLiteral("Solve for ") + names[chosen]);
                for (int k = 0; k < 4; ++k) {
                    QCOMPARE(field(d, names[k])->isEnabled(), k != chosen);
                }
            }
            field(d, "Vs")->setText(QStringLiteral("0.170"));
            press(d, QStringLiteral("Calculate"));
        });
        QTest::mouseClick(h.view, Qt::LeftButton, {}, h.pixelOf(kUnload));
        QCOMPARE(whileOpen, kBranchColour);
        placeResult(h, "Es =  ");
        // Three decimals as typed; the points of the force range show green.
        QVERIFY(h.view->textList().slot(0).text.find(".") == h.view->textList().slot(0).text.size() - 8);
        QCOMPARE(h.colourOf(kUnload - 45), kForceRangeColour);
        QCOMPARE(readModulusSettings(h.dir.string() + "/").Vs, std::string("0.170"));
        QVERIFY(h.messages.texts.empty());
    }

    void advancedActionsAndTheGraphButton() {
        Harness h("advanced");
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        // Answers "Advanced " from inside the modulus dialog.
        auto viaAdvanced = [&](std::function<void(QDialog&)> act) {
            answer("Elastic Modulus and Poisson's Ratio Calculation", [act](QDialog& d) {
                answer("Advanced ", act);
                press(d, QStringLiteral("Advanced"));
            });
            QTest::mouseClick(h.view, Qt::LeftButton, {}, h.pixelOf(kUnload));
        };
        viaAdvanced([](QDialog& a) {
            QVERIFY(!button(a, QStringLiteral("Add to Graph of E(h)"))->isEnabled());
            QCOMPARE(field(a, "top")->text(), QStringLiteral("95"));
            QCOMPARE(field(a, "top")->alignment() & Qt::AlignRight, Qt::AlignRight);
            press(a, QStringLiteral("Loading Rate"));
        });
        placeResult(h, "-");  // the force falls along an unloading
        QVERIFY(h.view->textList().slot(0).text.find(" mN/s") != std::string::npos);

        // Enter in "Advanced " is "Calculate".
        viaAdvanced([](QDialog& a) { QTest::keyClick(&a, Qt::Key_Return); });
        placeResult(h, "Es =  ");

        test::RecordingGraph graph;
        h.view->setModulusGraph(&graph);
        viaAdvanced([](QDialog& a) {
            a.findChild<QCheckBox*>(QStringLiteral("zeroStartDepth"))->setChecked(true);
            press(a, QStringLiteral("Add to Graph of E(h)"));
        });
        QCOMPARE(graph.count, 1);
        QVERIFY(!graph.xs[0].empty());
        QCOMPARE(*std::min_element(graph.xs[0].begin(), graph.xs[0].end()), 0.0);
        QCOMPARE(readModulusSettings(h.dir.string() + "/").zeroStartDepth, 1);
    }

    void cancelRestoresColoursAndWritesNothing() {
        Harness h("cancel");
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        const Rgb black = makeRgb(0, 0, 0);
        struct Case {
            int point;
            const char* title;
        };
        for (const Case& c : {Case{kUnload, "Elastic Modulus and Poisson's Ratio Calculation"},
                              Case{kHold, "Hardness"}, Case{kLoad, "Loading Curve "}}) {
            answer(c.title, [](QDialog& d) { press(d, QStringLiteral("Cancel")); });
            QTest::mouseClick(h.view, Qt::LeftButton, {}, h.pixelOf(c.point));
            for (int i = 0; i < h.doc->curveSet().pointCount(); ++i) {
                QCOMPARE(h.colourOf(i), black);
            }
            QVERIFY(!h.view->textList().placing());
        }
        QVERIFY(!h.settingsWritten());
    }

    void hardnessNeedsAFormulaAndLoadingCurveTakesTheEditedLabel() {
        Harness h("hardness");
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        answer("Hardness", [&h](QDialog& d) {
            QCOMPARE(h.colourOf(kHold), kHardnessColour);
            for (auto* radio : d.findChildren<QRadioButton*>()) {
                QVERIFY(!radio->isChecked());
            }
            auto* notice = d.findChild<QLabel*>(QStringLiteral("noFormula"));
            press(d, QStringLiteral("OK"));
            QVERIFY(d.isVisible());
            QVERIFY(notice->isVisible());
            press(d, QStringLiteral("HV = Pmax / (9.80665 * As(hc))"));
            d.findChild<QCheckBox*>(QStringLiteral("includeHoldTime"))->setChecked(true);
            press(d, QStringLiteral("OK"));
            QVERIFY(!d.isVisible());
        });
        QTest::mouseClick(h.view, Qt::LeftButton, {}, h.pixelOf(kHold));
        placeResult(h, "HV =  ");
        QVERIFY(h.view->textList().slot(0).text.find(" s") != std::string::npos);
        QCOMPARE(readHardnessSettings(h.dir.string() + "/").formula, 1);

        answer("Loading Curve ", [](QDialog& d) {
            QCOMPARE(field(d, "label")->text(), QStringLiteral("fused_silica_labelled.MVR"));
            field(d, "label")->setText(QStringLiteral("tip A"));
            press(d, QStringLiteral("Filename Curve Label"));
        });
        QTest::mouseClick(h.view, Qt::LeftButton, {}, h.pixelOf(kLoad));
        placeResult(h, "tip A");
    }
};

}  // namespace mivaro

QTEST_MAIN(mivaro::AnalysisDialogsTest)
#include "analysis_dialogs_test.moc"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "view/color_chart.h"
#include "view/qt/curve_style_dialog_qt.h"
#include "view/qt/graph_dialogs_qt.h"

namespace mivaro {

namespace {

struct CountingMessages final : MessagePort {
    std::vector<std::string> texts;
    MessageAnswer showMessage(const std::string& text, const std::string&, MessageButtons) override {
        texts.push_back(text);
        return MessageAnswer::Ok;
    }
};

template <typename T>
T* child(QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(name);
    if (found == nullptr) {
        qFatal("no child %s", name);
    }
    return found;
}

// With MIVARO_DIALOG_SHOTS set, each dialog is saved there as it looks.
void shoot(QWidget& widget, const char* name) {
    const QByteArray folder = qgetenv("MIVARO_DIALOG_SHOTS");
    if (!folder.isEmpty()) {
        widget.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
    }
}

// Runs `step` on the modal dialog once it is open.
void whenModalOpens(std::function<void(QWidget&)> step) {
    QTimer::singleShot(0, [step] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            qFatal("no modal dialog open");
        }
        QVERIFY(QTest::qWaitForWindowExposed(modal));
        step(*modal);
    });
}

}  // namespace

class GraphDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void typingClearsTheAutoBoxOfItsRowOnly() {
        AxisDialog dialog(AxisDialog::Axis::X, AxisDialogValues{1, 1, 1, 0, 1.001f, 0.1001f, 2});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        shoot(dialog, "x_axis");
        QCOMPARE(dialog.windowTitle(), QString("X Axis"));
        QCOMPARE(child<QCheckBox>(dialog, "autoMin")->text(), QString("Minimum "));
        QCOMPARE(child<QLineEdit>(dialog, "max")->text(), QString("1.001"));
        QCOMPARE(child<QLineEdit>(dialog, "major")->text(), QString("0.1001"));
        for (const char* box : {"autoMin", "autoMax", "autoMajor"}) {
            QVERIFY(child<QCheckBox>(dialog, box)->isChecked());  // filling cleared nothing
        }
        QLineEdit* max = child<QLineEdit>(dialog, "max");
        max->selectAll();
        QTest::keyClicks(max, "2000");
        QVERIFY(!child<QCheckBox>(dialog, "autoMax")->isChecked());
        QVERIFY(child<QCheckBox>(dialog, "autoMin")->isChecked());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.values().autoMax, 0);
        QCOMPARE(dialog.values().autoMin, 1);
        QCOMPARE(dialog.values().max, 2000.0f);
    }

    void decimalPrecisionTenIsRefusedZeroAndNineAccepted() {
        AxisDialog dialog(AxisDialog::Axis::Y, AxisDialogValues{});
        CountingMessages messages;
        dialog.setMessagePort(&messages);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        shoot(dialog, "y_axis");
        QCOMPARE(child<QCheckBox>(dialog, "autoMax")->text(), QString("Maximum"));
        QLineEdit* decimals = child<QLineEdit>(dialog, "labelDecimals");
        for (const char* text : {"10", "0", "9"}) {
            dialog.setResult(QDialog::Rejected);
            decimals->setText(text);
            dialog.accept();
            const bool accepted = QByteArray(text) != "10";
            QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
            QCOMPARE(messages.texts.size(), std::size_t{1});
            QCOMPARE(dialog.isVisible(), !accepted);
        }
        QCOMPARE(dialog.values().labelDecimals, 9);
    }

    void fontSizeIsReadLikeTheStandardConversion() {
        AxisTitlesDialog dialog(AxisTitlesValues{16, 1, "nm", "mN"});
        CountingMessages messages;
        dialog.setMessagePort(&messages);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        shoot(dialog, "axis_titles");
        QComboBox* size = child<QComboBox>(dialog, "fontSize");
        QCOMPARE(size->count(), 11);
        QCOMPARE(size->currentText(), QString("16"));
        for (const auto& [text, expected] : {std::pair{"13", 13}, std::pair{"abc", 0}}) {
            size->setEditText(text);
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.values().fontSize, expected);
        }
        // A title beyond 99 characters keeps the dialog open with a message.
        dialog.setResult(QDialog::Rejected);
        child<QLineEdit>(dialog, "xLabel")->setText(QString(100, 'x'));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(messages.texts.size(), std::size_t{1});
        QCOMPARE(dialog.values().xLabel, std::string("nm"));
    }

    void colourPickedThenCancelChangesNothing() {
        QtCurveStyleDialog port(nullptr);
        CurveStyleValues values;
        values.fileName = "a.MVR";
        values.size = 1;
        values.colour = makeRgb(0, 0, 0);
        // Open the chart, press on the red swatch (row 2, column 0), Cancel.
        whenModalOpens([](QWidget& style) {
            shoot(style, "curve_style");
            whenModalOpens([](QWidget& chart) {
                shoot(chart, "color_chart");
                QCOMPARE(chart.windowTitle(), QString("Color Chart"));
                QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(9, 45));
            });
            QTest::mouseClick(child<QPushButton>(style, "selectColor"), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(style, "cancel"), Qt::LeftButton);
        });
        QVERIFY(!port.askCurveStyle(values));

        // The same with OK: red, a typed size that names no item keeps 1, and
        // a press on the dialog's face outside the chart takes the face colour.
        whenModalOpens([](QWidget& style) {
            whenModalOpens(
                [](QWidget& chart) { QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(9, 45)); });
            QTest::mouseClick(child<QPushButton>(style, "selectColor"), Qt::LeftButton);
            child<QComboBox>(style, "markerSize")->setEditText("9");
            child<QComboBox>(style, "markerStyle")->setEditText("Circle");
            QTest::mouseClick(child<QPushButton>(style, "ok"), Qt::LeftButton);
        });
        const auto red = port.askCurveStyle(values);
        QVERIFY(red);
        QCOMPARE(red->pickedColour, std::optional<Rgb>(makeRgb(255, 0, 0)));
        QCOMPARE(red->size, 1);
        QCOMPARE(red->style, 1);

        ColorChartDialog chart;
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(kColorChartWidth + 10, kColorChartHeight + 10));
        const QColor face = chart.palette().color(QPalette::Window);
        QCOMPARE(chart.pickedColour(), std::optional<Rgb>(makeRgb(face.red(), face.green(), face.blue())));
        QCOMPARE(ColorChartDialog::chartImage().pixel(130, 21), qRgb(128, 128, 128));
    }
};

}  // namespace mivaro

QTEST_MAIN(mivaro::GraphDialogsTest)
#include "graph_dialogs_qt_test.moc"

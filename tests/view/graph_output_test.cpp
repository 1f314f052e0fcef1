#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "view/qt/graph_image.h"
#include "view/qt/graph_output.h"
#include "view/qt/graph_printing.h"
#include "view_test_support.h"

namespace mivaro {

namespace {

// Bounding box of the pixels that are not white.
QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

std::string readAll(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

class GraphOutputTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    CurveSet m_curves;
    MainGraph m_graph;

    GraphData data() const { return GraphData{m_curves, 1, "Depth (nm)", "Force (mN)"}; }
    QString path(const char* name) const { return m_dir.filePath(name); }

  private slots:
    void init() {
        m_curves = CurveSet{};
        m_graph = MainGraph{};
        std::vector<std::pair<float, float>> points;
        for (int k = 0; k <= 10; ++k) {
            points.emplace_back(100.0f * k, 1.0f * k);
        }
        test::addCurve(m_curves, points, 2, 2, makeRgb(255, 0, 0));
        (void)renderGraphImage(m_graph, data(), QSize(800, 600));  // the window's last paint
    }

    void exportsLeaveTheWindowsGeometryAlone() {
        const PlotLayout before = m_graph.layout();
        const ViewSettings settingsBefore = m_graph.settings();
        // New data since the last paint, and another size: the window must
        // keep its picture's boxes and ranges until it paints again.
        test::addCurve(m_curves, {{5000, 50}});
        for (const char* name : {"g.png", "g.svg", "g.pdf"}) {
            std::string error;
            QVERIFY2(exportGraph(m_graph, data(), QSize(400, 300), path(name).toStdString(), error),
                     error.c_str());
            QCOMPARE(m_graph.layout().xAxisBand, before.xAxisBand);
            QCOMPARE(m_graph.layout().xTitleBox, before.xTitleBox);
            QCOMPARE(m_graph.layout().plotRight, before.plotRight);
            QCOMPARE(m_graph.settings().x.max, settingsBefore.x.max);
        }
        QCOMPARE(QImage(path("g.png")).size(), QSize(400, 300));
        // SVG and PDF are drawings: text and lines, no embedded picture.
        const std::string svg = readAll(path("g.svg"));
        QVERIFY(svg.find("<svg") != std::string::npos);
        QVERIFY(svg.find("Depth (nm)") != std::string::npos);
        QVERIFY(svg.find("<image") == std::string::npos);
        const std::string pdf = readAll(path("g.pdf"));
        QVERIFY(pdf.rfind("%PDF", 0) == 0);
        QVERIFY(pdf.find("/Subtype /Image") == std::string::npos);
    }

    void refusedExportsKeepAnOldFile() {
        std::string error;
        QVERIFY(!exportGraph(m_graph, data(), QSize(800, 600), path("g.jpg").toStdString(), error));
        QVERIFY(!QFile::exists(path("g.jpg")));
        QVERIFY(!error.empty());
        std::ofstream(path("old.png").toStdString()) << "old";
        error.clear();
        QVERIFY(!exportGraph(m_graph, data(), QSize(0, 600), path("old.png").toStdString(), error));
        QCOMPARE(readAll(path("old.png")), std::string("old"));
        QVERIFY(
            !exportGraph(m_graph, data(), QSize(800, 600), path("no/such/dir/g.png").toStdString(), error));
    }

    void printedPageHasTheScreensProportions() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path("page.pdf"));
        printer.setPageSize(QPageSize(QPageSize::Letter));
        std::string error;
        QVERIFY2(GraphPrinting::printOn(printer, m_graph, data(), QSize(800, 600), error), error.c_str());
        QVERIFY(readAll(path("page.pdf")).rfind("%PDF", 0) == 0);
        const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
        if (pdftoppm.isEmpty()) {
            QSKIP("pdftoppm (poppler-utils) not installed: the page was not looked at");
        }
        QCOMPARE(
            QProcess::execute(pdftoppm, {"-r", "60", "-png", "-singlefile", path("page.pdf"), path("page")}),
            0);
        const QImage page(path("page.png"));
        if (const QByteArray keep = qgetenv("MIVARO_PAGE_SHOT"); !keep.isEmpty()) {
            page.save(QString::fromUtf8(keep));  // to look at the page
        }
        QCOMPARE(page.size(), QSize(510, 660));  // one letter page at 60 dpi
        const QRect printed = inkBox(page);
        const QRect screen = inkBox(renderGraphImage(m_graph, data(), QSize(800, 600)));
        // The graph fills the page's width in the proportions of the screen.
        QVERIFY2(printed.width() > 0.65 * page.width(), qPrintable(QString::number(printed.width())));
        const double printedRatio = double(printed.width()) / printed.height();
        const double screenRatio = double(screen.width()) / screen.height();
        QVERIFY2(std::abs(printedRatio / screenRatio - 1) < 0.03,
                 qPrintable(QString("%1 vs %2").arg(printedRatio).arg(screenRatio)));
    }
};

}  // namespace mivaro

QTEST_MAIN(mivaro::GraphOutputTest)
#include "graph_output_test.moc"

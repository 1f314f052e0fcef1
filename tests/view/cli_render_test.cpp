#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

namespace mivaro {

// mivaro-cli render as a user runs it: files in, PNG out, exit statuses.
class CliRenderTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_dir;

    static int run(const QStringList& args, QByteArray* err = nullptr) {
        QProcess process;
        process.start(QStringLiteral(MIVARO_BINARY_DIR "/bin/mivaro-cli"), QStringList{"render"} + args);
        if (!process.waitForFinished(60000)) {
            return -1;
        }
        if (err != nullptr) {
            *err = process.readAllStandardError();
        }
        return process.exitCode();
    }

    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // One curve whose largest depth is 1000 nm and largest force 10 mN.
    void writeCurve(const QString& file) const {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("Depth(um),Force(mN),Time(s),Segment\n");
        for (int k = 0; k <= 10; ++k) {
            out.write(QByteArray::number(0.1 * k, 'e', 6) + "," + QByteArray::number(1.0 * k, 'e', 6) + "," +
                      QByteArray::number(k) + ",LOAD\n");
        }
    }

  private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void rendersTheWorkedExample() {
        writeCurve(path("a.MVR"));
        const QString out = path("graph.png");
        QCOMPARE(run({"--settings", m_dir.path(), "--out", out, path("a.MVR")}), 0);
        const QImage image(out);
        QCOMPARE(image.size(), QSize(800, 600));
        QCOMPARE(image.pixel(5, 5), qRgb(255, 255, 255));
        // Bold axes: the x axis on rows 527-528 up to the last tick at 720,
        // the y axis on columns 161-162 from the top tick at 25.
        for (int x : {200, 400, 700}) {
            QCOMPARE(image.pixel(x, 528), qRgb(0, 0, 0));
            QCOMPARE(image.pixel(x, 527), qRgb(0, 0, 0));
        }
        for (int y : {30, 300, 500}) {
            QCOMPARE(image.pixel(162, y), qRgb(0, 0, 0));
        }
        QCOMPARE(image.pixel(740, 528), qRgb(255, 255, 255));
        // The curve passes through (500 nm, 5 mN) at (415, 299).
        QCOMPARE(image.pixel(415, 299), qRgb(0, 0, 0));
    }

    void sizeOptionAndTooSmallWindow() {
        const QString out = path("small.png");
        QCOMPARE(run({"--settings", m_dir.path(), "--size", "200x150", "--out", out, path("a.MVR")}), 0);
        const QImage image(out);
        QCOMPARE(image.size(), QSize(200, 150));
        int dark = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                dark += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
            }
        }
        QCOMPARE(dark, 0);  // no frame, no curves, no texts
    }

    void formatFollowsTheExtension() {
        writeCurve(path("b.MVR"));
        for (const auto& [name, magic] : {std::pair{"g.SVG", "<?xml"}, std::pair{"g.pdf", "%PDF"}}) {
            QCOMPARE(run({"--settings", m_dir.path(), "--out", path(name), path("b.MVR")}), 0);
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(file.readAll().startsWith(magic), name);
        }
        QByteArray err;
        QCOMPARE(run({"--out", path("g.jpg"), path("b.MVR")}, &err), 2);
        QVERIFY(err.contains(".png, .svg or .pdf"));
        QVERIFY(!QFile::exists(path("g.jpg")));
    }

    // SVG of the two examples in "Circle Solid" of size 3: one shape per
    // marker, not one rectangle per pixel, where the PNG has its pixels.
    void vectorMarkersAreShapes() {
        const QString examples = QStringLiteral(MIVARO_SOURCE_DIR "/examples/");
        const QStringList curves{examples + "fused_silica_labelled.MVR",
                                 examples + "fused_silica_unlabelled.MVR"};
        const QStringList styled{"--settings", m_dir.path(), "--style", "circle-solid", "--marker-size", "3"};
        QCOMPARE(run(styled + QStringList{"--out", path("e.svg")} + curves), 0);
        QCOMPARE(run(styled + QStringList{"--out", path("e.png")} + curves), 0);
        QFile file(path("e.svg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray svg = file.readAll();
        qsizetype points = 0;
        for (const QString& curve : curves) {
            QFile in(curve);
            QVERIFY(in.open(QIODevice::ReadOnly));
            points += in.readAll().count('\n') - 1;
        }
        const qsizetype elements = svg.count('<') - svg.count("</") - svg.count("<?") - svg.count("<!");
        QVERIFY2(svg.size() < 400 * 1024, QByteArray::number(svg.size()));
        QVERIFY2(elements <= points + 300,
                 QByteArray::number(elements) + " elements, " + QByteArray::number(points));

        // Drawn back as pixels, the markers lie where the PNG has them (within
        // a pixel of smoothing); compared inside the plot, away from the texts.
        QImage drawn(800, 600, QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        QSvgRenderer(svg).render(&painter);
        painter.end();
        const QImage picture(path("e.png"));
        const auto inkNear = [](const QImage& image, int x, int y, int darkest) {
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (qGray(image.pixel(x + dx, y + dy)) < darkest) {
                        return true;
                    }
                }
            }
            return false;
        };
        int missing = 0;
        int extra = 0;
        for (int y = 30; y < 520; ++y) {
            for (int x = 170; x < 715; ++x) {
                missing += qGray(picture.pixel(x, y)) < 128 && !inkNear(drawn, x, y, 250) ? 1 : 0;
                extra += qGray(drawn.pixel(x, y)) < 128 && !inkNear(picture, x, y, 128) ? 1 : 0;
            }
        }
        QCOMPARE(missing, 0);
        QCOMPARE(extra, 0);
        // Bad style options are usage errors.
        for (const QStringList& bad :
             {QStringList{"--style", "dots"}, QStringList{"--marker-size", "7"},
              QStringList{"--marker-size", "-1"}, QStringList{"--marker-size", "2x"}}) {
            QByteArray err;
            QCOMPARE(run(bad + curves, &err), 2);
            QVERIFY(err.contains(bad.front().toLatin1()));
        }
    }

    void badInputGivesClearStatuses() {
        QByteArray err;
        for (const char* size : {"0x100", "100", "100x", "-5x10", "99999x10", "10x10x"}) {
            QCOMPARE(run({"--size", size, path("a.MVR")}, &err), 2);
            QVERIFY(err.contains("--size"));
        }
        QCOMPARE(run({"--out"}), 2);
        QCOMPARE(run({}), 2);
        // A missing file is reported; the picture is still written.
        const QString out = path("missing.png");
        QCOMPARE(run({"--settings", m_dir.path(), "--out", out, path("nope.MVR")}, &err), 1);
        QVERIFY(QFile::exists(out));
        // An unwritable output is an error and leaves no file behind.
        const QString bad = path("no/such/dir/graph.png");
        QCOMPARE(run({"--settings", m_dir.path(), "--out", bad, path("a.MVR")}, &err), 1);
        QVERIFY(err.contains("could not write"));
        QVERIFY(!QFile::exists(bad));
    }
};

}  // namespace mivaro

QTEST_MAIN(mivaro::CliRenderTest)
#include "cli_render_test.moc"

// Painting the main graph: 100 curves of 20 000 points into a 1000 x 700
// image, all visible, against the naive QPainter form measured in the same run
// (a new pen per segment with drawLine; drawPoint per marker pixel).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <clocale>
#include <cmath>

#include "view/curve_painter.h"
#include "view/main_graph.h"
#include "view/plot_frame.h"
#include "view/qt/painter_surface.h"

namespace mivaro {
namespace {

constexpr int kCurves = 100;
constexpr int kPointsPerCurve = 20000;
constexpr int kWidth = 1000;
constexpr int kHeight = 700;

// Load and unload branches with a little noise, as a test machine records them.
CurveSet makeCurves(int style, int size) {
    CurveSet set;
    unsigned noise = 12345;
    for (int c = 0; c < kCurves; ++c) {
        CurveInfo info;
        info.style = style;
        info.size = size;
        info.colour = makeRgb((c * 37) % 256, (c * 91) % 256, (c * 53) % 256);
        set.curves.push_back(info);
        const double hMax = 500 + 5.0 * c;
        const double pMax = 5 + 0.05 * c;
        for (int j = 0; j < kPointsPerCurve; ++j) {
            const double s = static_cast<double>(j) / kPointsPerCurve;
            double h;
            double p;
            if (s < 0.6) {
                h = hMax * s / 0.6;
                p = pMax * (h / hMax) * (h / hMax);
            } else {
                const double u = (s - 0.6) / 0.4;
                p = pMax * (1 - u);
                h = hMax * (0.6 + 0.4 * std::pow(p / pMax, 1 / 1.5));
            }
            noise = noise * 1103515245u + 12345u;
            h += static_cast<double>((noise >> 16) % 5) - 2.0;
            set.depth.push_back(static_cast<float>(std::max(h, 0.0)));
            set.force.push_back(static_cast<float>(p));
            set.time.push_back(0);
            set.segment.push_back('L');
            set.curveIndex.push_back(c);
            set.colour.push_back(info.colour);
        }
    }
    return set;
}

void paintFast(benchmark::State& state, int style, int size) {
    const CurveSet set = makeCurves(style, size);
    MainGraph graph;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterSurface surface(painter, ClientRect{0, 0, kWidth, kHeight}, &image);
        graph.paint(surface, GraphData{set, 1, "nm", "mN"});
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points"] = set.pointCount();
}

// The same curves drawn the naive way: frame by the graph, curves by QPainter.
void paintNaive(benchmark::State& state, int style, int size) {
    const CurveSet set = makeCurves(style, size);
    MainGraph graph;
    // Ranges of the data, fixed, so that the frame can be painted without curves.
    applyAutomaticRanges(graph.settings(), dataMaxima(set));
    applyAutomaticMajor(graph.settings().x, graph.settings().majorDivisions);
    applyAutomaticMajor(graph.settings().y, graph.settings().majorDivisions);
    graph.settings().x.autoMin = graph.settings().x.autoMax = graph.settings().x.autoMajor = 0;
    graph.settings().y.autoMin = graph.settings().y.autoMax = graph.settings().y.autoMajor = 0;
    const CurveSet none;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        benchmark::DoNotOptimize(dataMaxima(set));
        {
            PainterSurface surface(painter, ClientRect{0, 0, kWidth, kHeight}, &image);
            graph.paint(surface, GraphData{none, 1, "nm", "mN"});
        }
        const PlotMapping map(graph.settings(), graph.layout());
        QPoint previous;
        int previousPoint = -2;
        int previousCurve = -1;
        for (int i = 0; i < set.pointCount(); ++i) {
            const auto k = static_cast<std::size_t>(i);
            const int c = set.curveIndex[k];
            if (!map.visible(set.depth[k], set.force[k])) {
                continue;
            }
            const QPoint at(map.px(set.depth[k]), map.py(set.force[k]));
            if (c != previousCurve || previousPoint != i - 1) {
                previous = at;
            }
            previousPoint = i;
            previousCurve = c;
            const Rgb rgb = set.colour[k];
            const QColor colour(redOf(rgb), greenOf(rgb), blueOf(rgb));
            if (style == LINE) {
                painter.setPen(QPen(colour, size <= 1 ? 0 : size));
                painter.drawLine(previous, at);
                previous = at;
            } else {
                painter.setPen(colour);
                for (int y = at.y() - size; y <= at.y() + size; ++y) {
                    for (int x = at.x() - size; x <= at.x() + size; ++x) {
                        painter.drawPoint(x, y);
                    }
                }
            }
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_LineWidth1(benchmark::State& state) {
    paintFast(state, LINE, 1);
}
void BM_LineWidth1_NaivePenPerSegment(benchmark::State& state) {
    paintNaive(state, LINE, 1);
}
void BM_LineWidth2(benchmark::State& state) {
    paintFast(state, LINE, 2);
}
void BM_LineWidth2_NaivePenPerSegment(benchmark::State& state) {
    paintNaive(state, LINE, 2);
}
void BM_SquareSolid2(benchmark::State& state) {
    paintFast(state, SQUARE_SOLID, 2);
}
void BM_SquareSolid2_NaiveDrawPoint(benchmark::State& state) {
    paintNaive(state, SQUARE_SOLID, 2);
}

BENCHMARK(BM_LineWidth1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineWidth1_NaivePenPerSegment)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineWidth2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineWidth2_NaivePenPerSegment)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SquareSolid2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SquareSolid2_NaiveDrawPoint)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace mivaro

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);  // fonts for the frame's text
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

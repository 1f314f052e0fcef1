// mivaro-cli render [--settings DIR] [--size WxH] [--style STYLE] [--marker-size N] [--out FILE] FILE...:
// loads the files as `points` does and writes the main graph, exactly as the
// window paints it with its default settings, as a PNG picture, an SVG
// drawing or a PDF page by the extension of FILE. Also the picture of the
// modulus graph for `analyse --graph-out`.
#include <QGuiApplication>
#include <array>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/cli_common.h"
#include "modgraph/xy_graph_wnd.h"
#include "platform/c_format.h"
#include "platform/runtime_dir.h"
#include "view/export_format.h"
#include "view/main_graph.h"
#include "view/qt/graph_image.h"
#include "view/qt/graph_output.h"

namespace mivaro::cli {
namespace {

constexpr const char* kUsage =
    "usage: mivaro-cli render [--settings DIR] [--size WxH] [--style line|circle|circle-solid|square|"
    "square-solid]\n"
    "                         [--marker-size N] [--out FILE.png|FILE.svg|FILE.pdf] FILE...\n";

// The Curve Style dialog's styles and sizes, for every curve at once.
constexpr std::array<std::string_view, 5> kStyleNames = {"line", "circle", "circle-solid", "square",
                                                         "square-solid"};
constexpr int kLargestMarkerSize = 6;

std::optional<int> styleCode(const std::string& name) {
    for (std::size_t k = 0; k < kStyleNames.size(); ++k) {
        if (kStyleNames[k] == name) {
            return static_cast<int>(k);
        }
    }
    return std::nullopt;
}

// Painting text needs a GUI application; no display is needed.
struct PaintingApplication {
    bool platformChosen = choosePlatform();
    int argc = 1;
    char name[11] = "mivaro-cli";
    char* argv[2] = {name, nullptr};
    QGuiApplication application{argc, argv};

    PaintingApplication() {
        // Qt took the number format from the environment; ours is always C.
        std::setlocale(LC_NUMERIC, "C");
    }
    static bool choosePlatform() {
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        ensureRuntimeDirectory();
        return true;
    }
};

}  // namespace

std::string writeModulusGraphImage(CXYGraphWnd& graph, const std::string& path, int width, int height) {
    const PaintingApplication gui;
    std::string why;
    if (!exportPicture(
            QSize(width, height), path, [&](DrawingSurface& surface) { graph.paint(surface); }, why)) {
        return "could not write " + path + ": " + why;
    }
    return {};
}

int runRender(const std::vector<std::string>& args) {
    CommandLine line;
    if (const std::string why =
            parseCommandLine(args, {"--settings", "--size", "--out", "--style", "--marker-size"}, line);
        !why.empty()) {
        return usageError("render", why, kUsage);
    }
    int width = 800;
    int height = 600;
    if (line.has("--size") && !parseImageSize(line.value("--size"), width, height)) {
        return usageError("render", formatC("--size needs WxH with each side 1 to %d pixels", kMaxImageSide),
                          kUsage);
    }
    std::optional<int> style;
    if (line.has("--style")) {
        style = styleCode(line.value("--style"));
        if (!style) {
            return usageError("render", "--style needs line, circle, circle-solid, square or square-solid",
                              kUsage);
        }
    }
    std::optional<int> markerSize;
    if (line.has("--marker-size")) {
        int size = 0;
        std::size_t used = 0;
        const std::string text = line.value("--marker-size");
        if (text.empty() || !scanCInt(text, size, &used) || used != text.size() || size < 0 ||
            size > kLargestMarkerSize) {
            return usageError(
                "render", formatC("--marker-size needs a whole number 0 to %d", kLargestMarkerSize), kUsage);
        }
        markerSize = size;
    }
    const std::string settingsDirectory = line.value("--settings", ".");
    const std::string outPath = line.value("--out", "graph.png");
    const std::vector<std::string>& files = line.files;
    if (!exportFormatOf(outPath)) {
        return usageError("render", "--out needs a file name ending in .png, .svg or .pdf", kUsage);
    }

    const PaintingApplication gui;

    const auto loaded = loadDocument("render", settingsDirectory, files);
    CMivaro4Doc& doc = *loaded->doc;
    for (CurveInfo& curve : doc.curveSet().curves) {
        if (curve.deleted()) {
            continue;
        }
        curve.style = style.value_or(curve.style);
        curve.size = markerSize.value_or(curve.size);
    }
    MainGraph graph;
    const GraphData data{doc.curveSet(), doc.indentCurve().nameCount(), doc.xAxisTitle, doc.yAxisTitle};
    std::string error;
    if (!exportGraph(graph, data, QSize(width, height), outPath, error)) {
        std::fprintf(stderr, "mivaro-cli render: could not write %s: %s\n", outPath.c_str(), error.c_str());
        return kExitMessage;
    }
    return loaded->messages.anyShown() ? kExitMessage : kExitOk;
}

}  // namespace mivaro::cli

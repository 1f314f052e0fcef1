// mivaro-cli render [--settings DIR] [--size WxH] [--out FILE] FILE...:
// loads the files as `points` does and writes the main graph, exactly as the
// window paints it with its default settings, as a PNG picture, an SVG
// drawing or a PDF page by the extension of FILE. Also the picture of the
// modulus graph for `analyse --graph-out`.
#include <QGuiApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
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
    "usage: mivaro-cli render [--settings DIR] [--size WxH] [--out FILE.png|FILE.svg|FILE.pdf] FILE...\n";

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
    if (const std::string why = parseCommandLine(args, {"--settings", "--size", "--out"}, line);
        !why.empty()) {
        return usageError("render", why, kUsage);
    }
    int width = 800;
    int height = 600;
    if (line.has("--size") && !parseImageSize(line.value("--size"), width, height)) {
        return usageError("render", formatC("--size needs WxH with each side 1 to %d pixels", kMaxImageSide),
                          kUsage);
    }
    const std::string settingsDirectory = line.value("--settings", ".");
    const std::string outPath = line.value("--out", "graph.png");
    const std::vector<std::string>& files = line.files;
    if (!exportFormatOf(outPath)) {
        return usageError("render", "--out needs a file name ending in .png, .svg or .pdf", kUsage);
    }

    const PaintingApplication gui;

    const auto loaded = loadDocument("render", settingsDirectory, files);
    const CMivaro4Doc& doc = *loaded->doc;
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

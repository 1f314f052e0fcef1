// mivaro-cli render [--settings DIR] [--size WxH] [--out FILE.png] FILE...:
// loads the files as `points` does and writes the main graph, exactly as the
// window paints it with its default settings, as a PNG.
#include <QGuiApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "platform/c_format.h"
#include "view/main_graph.h"
#include "view/qt/graph_image.h"

namespace mivaro::cli {
namespace {

constexpr const char* kUsage =
    "usage: mivaro-cli render [--settings DIR] [--size WxH] [--out FILE.png] FILE...\n";
// Larger images are refused rather than risking an allocation of gigabytes.
constexpr int kMaxSide = 20000;

bool parseSize(const std::string& text, int& width, int& height) {
    return parseIntPair(text, 'x', width, height) && width > 0 && height > 0 && width <= kMaxSide &&
           height <= kMaxSide;
}

}  // namespace

int runRender(const std::vector<std::string>& args) {
    CommandLine line;
    if (const std::string why = parseCommandLine(args, {"--settings", "--size", "--out"}, line);
        !why.empty()) {
        return usageError("render", why, kUsage);
    }
    int width = 800;
    int height = 600;
    if (line.has("--size") && !parseSize(line.value("--size"), width, height)) {
        return usageError("render", formatC("--size needs WxH with each side 1 to %d pixels", kMaxSide),
                          kUsage);
    }
    const std::string settingsDirectory = line.value("--settings", ".");
    const std::string outPath = line.value("--out", "graph.png");
    const std::vector<std::string>& files = line.files;

    // Painting text needs a GUI application; no display is needed.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    int argc = 1;
    char name[] = "mivaro-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    // Qt took the number format from the environment; ours is always C.
    std::setlocale(LC_NUMERIC, "C");

    const auto loaded = loadDocument(settingsDirectory, files);
    const CMivaro4Doc& doc = *loaded->doc;
    MainGraph graph;
    const GraphData data{doc.curveSet(), doc.indentCurve().nameCount(), doc.xAxisTitle, doc.yAxisTitle};
    const QImage image = renderGraphImage(graph, data, QSize(width, height));
    if (image.isNull() || !savePng(image, QString::fromStdString(outPath))) {
        std::fprintf(stderr, "mivaro-cli render: could not write %s\n", outPath.c_str());
        return kExitMessage;
    }
    return loaded->messages.anyShown() ? kExitMessage : kExitOk;
}

}  // namespace mivaro::cli

// mivaro-cli analyse: runs the analysis a left click would start, on a point
// given by its index or by the client pixel of the click, with the dialog
// values the settings files give, and prints the result as one JSON line.
// Nothing is written to the settings.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_json.h"
#include "analysis/click_dispatch.h"
#include "analysis/iso_indent_row.h"
#include "analysis/rate_flow.h"
#include "app/cli/cli_common.h"
#include "modgraph/xy_graph_wnd.h"
#include "platform/c_format.h"
#include "view/export_format.h"
#include "view/graph_clicks.h"

namespace mivaro::cli {
namespace {

constexpr const char* kUsage =
    "usage: mivaro-cli analyse [--settings DIR] (--point N | --click X,Y [--size WxH]) --action ACTION\n"
    "                          [--label TEXT] [--graph-out FILE [--graph-size WxH]] FILE...\n"
    "  ACTION on a loading point: label, loading-rate, displacement-rate\n"
    "  on an unloading or reloading point: loading-rate, displacement-rate, modulus, equation, section\n"
    "  on a top-hold point: hardness\n"
    "  --graph-out (with section): the \"XY-Graph\" window with the new series,\n"
    "  as a PNG picture, an SVG drawing or a PDF page by the extension of FILE\n"
    "  --iso [ISO OPTIONS]: adds the instrument-grade results of the point's curve as \"iso\"\n"
    "  (ISO OPTIONS as mivaro-cli batch takes them)\n";

// The client area is laid out for the click only; no pixel is kept.
constexpr int kMaxSide = 1 << 20;

int analyseUsageError(const std::string& why) {
    return usageError("analyse", why, kUsage);
}

// A paint that only lays out the graph: the click needs the mapping, not the pixels.
class LayoutOnlySurface final : public DrawingSurface {
  public:
    LayoutOnlySurface(int width, int height) : m_client{0, 0, width, height} {}
    ClientRect clientRect() const override { return m_client; }
    void moveTo(int, int) override {}
    void setPen(int, Rgb) override {}
    void lineTo(int, int) override {}
    void selectFont(const FontChoice&) override {}
    void drawText(int, int, std::string_view, TextAlign) override {}
    void setPixel(int, int, Rgb) override {}
    void setPixelRun(int, int, int, Rgb) override {}

  private:
    ClientRect m_client;
};

// The dialogs, answered with the values they open with and the chosen action.
struct AnsweringDialogs final : LoadingCurveDialogPort, HardnessDialogPort, ModulusDialogPort {
    int action = 0;
    std::optional<std::string> label;
    std::optional<Acted<LoadingCurveValues>> askLoadingCurve(const LoadingCurveValues& values) override {
        return Acted<LoadingCurveValues>{LoadingCurveValues{label.value_or(values.labelText)}, action};
    }
    std::optional<HardnessSettings> askHardness(const HardnessSettings& settings) override {
        return settings;
    }
    std::optional<Acted<ModulusDialogValues>> askModulus(const ModulusDialogValues& values) override {
        return Acted<ModulusDialogValues>{values, action};
    }
};

// The action code of ACTION in the flow a point offers, or -2 when that flow does not offer it.
int actionCode(ClickFlow flow, const std::string& action) {
    switch (flow) {
        case ClickFlow::Loading:
            if (action == "label")
                return kLoadingLabel;
            if (action == "loading-rate")
                return kLoadingRate;
            if (action == "displacement-rate")
                return kLoadingDisplacementRate;
            break;
        case ClickFlow::Branch:
            if (action == "modulus")
                return kActionModulus;
            if (action == "section")
                return kActionSection;
            if (action == "loading-rate")
                return kActionLoadingRate;
            if (action == "displacement-rate")
                return kActionDisplacementRate;
            if (action == "equation")
                return kActionEquation;
            break;
        case ClickFlow::Hardness:
            if (action == "hardness")
                return 0;
            break;
        case ClickFlow::None:
            break;
    }
    return -2;
}

int printJson(const std::string& json) {
    writeOut(json + "\n");
    return outputWritten("analyse", "the result") ? kExitOk : kExitMessage;
}

// The JSON line with ", "iso": {...}" added before its closing brace.
std::string withIso(std::string json, const std::optional<std::string>& iso) {
    if (iso) {
        json.pop_back();
        json += ", \"iso\": " + *iso + "}";
    }
    return json;
}

}  // namespace

int runAnalyse(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    IsoOptions isoOptions;
    if (const std::string why = takeIsoOptions(args, isoOptions); !why.empty()) {
        return analyseUsageError(why);
    }
    CommandLine line;
    if (const std::string why = parseCommandLine(args,
                                                 {"--settings", "--point", "--click", "--size", "--action",
                                                  "--label", "--graph-out", "--graph-size"},
                                                 line);
        !why.empty()) {
        return analyseUsageError(why);
    }
    if (line.has("--point") == line.has("--click")) {
        return analyseUsageError("give either --point or --click");
    }
    if (!line.has("--action")) {
        return analyseUsageError("--action is required");
    }
    const bool writesGraph = line.has("--graph-out");
    if ((writesGraph || line.has("--graph-size")) && line.value("--action") != "section") {
        return analyseUsageError("--graph-out and --graph-size go with --action section");
    }
    if (line.has("--graph-size") && !writesGraph) {
        return analyseUsageError("--graph-size needs --graph-out");
    }
    if (writesGraph && !exportFormatOf(line.value("--graph-out"))) {
        return analyseUsageError("--graph-out needs a file name ending in .png, .svg or .pdf");
    }
    PixelSize graphSize = initialClientSize();
    if (line.has("--graph-size") &&
        !parseImageSize(line.value("--graph-size"), graphSize.width, graphSize.height)) {
        return analyseUsageError(
            formatC("--graph-size needs WxH with each side 1 to %d pixels", kMaxImageSide));
    }
    int point = 0;
    int clickX = 0, clickY = 0;
    int width = 800, height = 600;
    if (line.has("--point")) {
        const std::string pointText = line.value("--point");
        std::size_t consumed = 0;
        if (!scanCInt(pointText, point, &consumed) || consumed != pointText.size()) {
            return analyseUsageError("--point needs a point index, not " + pointText);
        }
        if (line.has("--size")) {
            return analyseUsageError("--size goes with --click");
        }
    } else {
        if (!parseIntPair(line.value("--click"), ',', clickX, clickY)) {
            return analyseUsageError("--click needs X,Y in client pixels, not " + line.value("--click"));
        }
        if (line.has("--size") && (!parseIntPair(line.value("--size"), 'x', width, height) || width <= 0 ||
                                   height <= 0 || width > kMaxSide || height > kMaxSide)) {
            return analyseUsageError(formatC("--size needs WxH with each side 1 to %d pixels", kMaxSide));
        }
    }
    std::optional<IsoSetup> iso;
    if (isoOptions.iso) {
        iso.emplace();
        const ModulusSettings settings =
            readModulusSettings(asSettingsDirectory(line.value("--settings", ".")));
        if (const std::string why = isoSetupOf(isoOptions, settings, *iso); !why.empty()) {
            return analyseUsageError(why);
        }
    }
    const auto loaded = loadDocument("analyse", line.value("--settings", "."), line.files);
    // A file that could not be read was said first; what follows is its consequence, not a usage error.
    const bool loadReported = loaded->messages.anyShown();
    CMivaro4Doc& doc = *loaded->doc;
    CurveSet& set = doc.curveSet();

    AnsweringDialogs dialogs;
    // The modulus graph as the view holds it; headless, it has no window.
    CXYGraphWnd graph;
    graph.settings().yTitle = CXYGraphWnd::kModulusTitle;
    MainGraph mainGraph;
    GraphClickCommands clicks(
        mainGraph, doc,
        {&loaded->messages, &loaded->repaint, nullptr, ClickDialogs{&dialogs, &dialogs, &dialogs, &graph}});
    clicks.setSaveSettings(false);
    if (line.has("--click")) {
        // One paint of the loaded curves at that client size, as the window would show them.
        LayoutOnlySurface surface(width, height);
        mainGraph.paint(surface,
                        GraphData{set, doc.indentCurve().nameCount(), doc.xAxisTitle, doc.yAxisTitle});
        const std::optional<int> picked = clicks.pointAt(clickX, clickY);
        if (!picked || clickFlowFor(set.segment[static_cast<std::size_t>(*picked)]) == ClickFlow::None) {
            const std::optional<std::string> none = iso ? std::optional<std::string>("null") : std::nullopt;
            const int status = printJson(
                withIso(analysisJson(FlowOutcome{}, doc.indentCurve().results, std::nullopt), none));
            return status == kExitOk && loadReported ? kExitMessage : status;
        }
        point = *picked;
    } else if (point < 0 || point >= set.pointCount()) {
        const std::string why = formatC("point %s is not a point of the loaded curves (0 to %d)",
                                        line.value("--point").c_str(), set.pointCount() - 1);
        if (loadReported) {
            std::fprintf(stderr, "mivaro-cli analyse: %s\n", why.c_str());
            return kExitMessage;
        }
        return analyseUsageError(why);
    }
    const char letter = set.segment[static_cast<std::size_t>(point)];
    dialogs.action = actionCode(clickFlowFor(letter), line.value("--action"));
    if (dialogs.action == -2) {
        return analyseUsageError(formatC("a point of segment '%c' does not offer the action %s", letter,
                                         line.value("--action").c_str()));
    }
    if (line.has("--label")) {
        dialogs.label = line.value("--label");
    }
    std::optional<std::string> isoJson;
    if (iso) {
        // The curve's points before the click: the flows colour points but never move them.
        const PointSpan span = curveSpanOf(set, point);
        const IsoResults results = isoResultsOfPoints(set, span.first, span.last, *iso);
        ResultRow row = isoRow(*iso, &results);
        row.cells.insert(row.cells.begin(), ResultCell{"error", std::nullopt, results.error});
        isoJson = resultCellsJson(row, "iso_");
    }
    const FlowOutcome outcome = clicks.runOn(point);
    const int status = printJson(withIso(analysisJson(outcome, doc.indentCurve().results, point), isoJson));
    if (status != kExitOk) {
        return status;
    }
    bool failed = false;
    if (writesGraph) {
        const std::string why =
            writeModulusGraphImage(graph, line.value("--graph-out"), graphSize.width, graphSize.height);
        if (!why.empty()) {
            std::fprintf(stderr, "mivaro-cli analyse: %s\n", why.c_str());
            failed = true;
        }
    }
    return failed || loaded->messages.anyShown() ? kExitMessage : kExitOk;
}

}  // namespace mivaro::cli

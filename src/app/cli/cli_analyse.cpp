// mivaro-cli analyse: runs one analysis flow on a point of the loaded curves
// as a click would, with the dialog values the settings files give, and
// prints the result as one JSON line. Nothing is written to the settings.
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/analysis_json.h"
#include "analysis/branch_flow.h"
#include "analysis/hardness_flow.h"
#include "analysis/rate_flow.h"
#include "app/cli/cli_common.h"
#include "modgraph/xy_graph_wnd.h"
#include "platform/c_format.h"

namespace mivaro::cli {
namespace {

constexpr const char* kUsage =
    "usage: mivaro-cli analyse [--settings DIR] --point N --action ACTION [--label TEXT]\n"
    "                          [--graph-out FILE.png [--graph-size WxH]] FILE...\n"
    "  ACTION on a loading point: label, loading-rate, displacement-rate\n"
    "  on an unloading or reloading point: loading-rate, displacement-rate, modulus, equation, section\n"
    "  on a top-hold point: hardness\n"
    "  --graph-out (with section): the \"XY-Graph\" window with the new series, as a PNG\n";

int analyseUsageError(const std::string& why) {
    return usageError("analyse", why, kUsage);
}

struct NoTexts final : ResultTextSink {
    void beginTextPlacement(const std::string&) override {}
};

// The flow code of ACTION for the point's letter, or -2 when the letter does not offer it.
int actionCode(char letter, const std::string& action) {
    if (letter == LOAD) {
        if (action == "label")
            return kLoadingLabel;
        if (action == "loading-rate")
            return kLoadingRate;
        if (action == "displacement-rate")
            return kLoadingDisplacementRate;
    } else if (letter == UNLOAD || letter == RELOAD) {
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
    } else if (letter == TOP_HOLD) {
        if (action == "hardness")
            return 0;
    }
    return -2;
}

}  // namespace

int runAnalyse(const std::vector<std::string>& args) {
    CommandLine line;
    if (const std::string why = parseCommandLine(
            args, {"--settings", "--point", "--action", "--label", "--graph-out", "--graph-size"}, line);
        !why.empty()) {
        return analyseUsageError(why);
    }
    if (!line.has("--point")) {
        return analyseUsageError("--point is required");
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
    PixelSize graphSize = initialClientSize();
    if (line.has("--graph-size") &&
        !parseImageSize(line.value("--graph-size"), graphSize.width, graphSize.height)) {
        return analyseUsageError(
            formatC("--graph-size needs WxH with each side 1 to %d pixels", kMaxImageSide));
    }
    const std::string pointText = line.value("--point");
    int point = 0;
    std::size_t consumed = 0;
    if (!scanCInt(pointText, point, &consumed) || consumed != pointText.size()) {
        return analyseUsageError("--point needs a point index, not " + pointText);
    }
    const auto loaded = loadDocument(line.value("--settings", "."), line.files);
    CMivaro4Doc& doc = *loaded->doc;
    CurveSet& set = doc.curveSet();
    if (point < 0 || point >= set.pointCount()) {
        return analyseUsageError(
            formatC("point %d is not a point of the loaded curves (0 to %d)", point, set.pointCount() - 1));
    }
    const char letter = set.segment[static_cast<std::size_t>(point)];
    const int code = actionCode(letter, line.value("--action"));
    if (code == -2) {
        return analyseUsageError(formatC("a point of segment '%c' does not offer the action %s", letter,
                                         line.value("--action").c_str()));
    }

    NoTexts texts;
    // The modulus graph as the view holds it; headless, it has no window.
    CXYGraphWnd graph;
    graph.settings().yTitle = CXYGraphWnd::kModulusTitle;
    FlowContext ctx{set, doc.indentCurve(), loaded->messages, loaded->repaint, texts, GraphTextStyle{}};
    const std::string& settingsDirectory = doc.indentCurve().settingsDirectory;
    FlowOutcome outcome;
    if (letter == LOAD) {
        const LoadingCurveAnswer answer{
            line.has("--label") ? line.value("--label") : loadingLabelFor(set, point), code};
        outcome = performLoadingAction(ctx, point, answer);
    } else if (letter == TOP_HOLD) {
        const HoldSelection hold = selectHold(ctx, point);
        outcome = performHardness(ctx, hold, readHardnessSettings(settingsDirectory));
    } else {
        BranchSelection branch = selectBranch(ctx, point);
        outcome = performBranchAction(ctx, branch, readModulusSettings(settingsDirectory), code, graph);
    }
    const std::string json = analysisJson(outcome, doc.indentCurve().results) + "\n";
    std::fputs(json.c_str(), stdout);
    if (std::fflush(stdout) != 0) {
        std::fputs("mivaro-cli analyse: could not write the result\n", stderr);
        return kExitMessage;
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

// Runs `mivaro-cli analyse` of this build on the example curves and checks it
// against the same flows run in this process.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "analysis/analysis_json.h"
#include "analysis/branch_flow.h"
#include "analysis/hardness_flow.h"
#include "analysis/rate_flow.h"
#include "analysis_fakes.h"
#include "curves/mivaro_doc.h"
#include "support/run_cli.h"
#include "view/main_graph.h"
#include "view/point_pick.h"
#include "view/recording_surface.h"

namespace mivaro {
namespace {

namespace fs = std::filesystem;

using test::RunResult;
using test::slurp;

RunResult runCli(std::vector<std::string> args) {
    args.insert(args.begin(), "analyse");
    return test::runCli(args);
}

// Example curve: loading 0..199, hold 200..299, unload 300..399, bottom hold 400..449,
// reload 450..549, unload 550..699.
const std::string kExample = std::string(MIVARO_SOURCE_DIR) + "/examples/fused_silica_labelled.MVR";

class CliAnalyse : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::path(MIVARO_BINARY_DIR) / "cli_analyse_test" /
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        if (!fs::exists(kExample)) {
            GTEST_SKIP() << "example curves not found";
        }
    }
    std::vector<fs::path> settingsFiles() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            files.push_back(entry.path().filename());
        }
        return files;
    }
    // The flow in this process, with the dialog accepting what the settings give.
    std::string inProcess(int point, const std::string& action) {
        test::RecordingMessages messages;
        NoRepaint repaint;
        CMivaro4Doc doc(m_dir.string() + "/", messages, repaint);
        doc.appendPaths({kExample});
        doc.rebuildCurveSet();
        test::RecordingTexts texts;
        test::RecordingGraph graph;
        FlowContext ctx{doc.curveSet(), doc.indentCurve(), messages, repaint, texts, GraphTextStyle{}};
        FlowOutcome outcome;
        const std::map<std::string, int> branchActions{
            {"modulus", 1}, {"section", 2}, {"loading-rate", 3}, {"displacement-rate", 4}, {"equation", 5}};
        if (action == "hardness") {
            const HoldSelection hold = selectHold(ctx, point);
            outcome = performHardness(ctx, hold, readHardnessSettings(m_dir.string() + "/"));
        } else {
            BranchSelection branch = selectBranch(ctx, point);
            outcome = performBranchAction(ctx, branch, readModulusSettings(m_dir.string() + "/"),
                                          branchActions.at(action), graph);
        }
        return analysisJson(outcome, doc.indentCurve().results, point) + "\n";
    }

    fs::path m_dir;
};

TEST_F(CliAnalyse, PrintsWhatTheFlowsProduceAndWritesNoSettings) {
    ModulusSettings modulus;
    modulus.Es = "72.125";
    modulus.forceMinPercent = 30;
    ASSERT_TRUE(writeModulusSettings(m_dir.string() + "/", modulus));
    HardnessSettings hardness;
    hardness.formula = 1;
    hardness.includeHoldTime = 1;
    ASSERT_TRUE(writeHardnessSettings(m_dir.string() + "/", hardness));
    const auto before = settingsFiles();
    const auto modulusFile = slurp(m_dir / "curve_setup.par");

    struct Case {
        int point;
        const char* action;
        const char* textStart;
    };
    const std::vector<Case> cases{
        {350, "modulus", "{\"text\": \"Es =  "},  {350, "equation", "{\"text\": \"P = "},
        {500, "modulus", "{\"text\": \"Es =  "},  {350, "displacement-rate", "{\"text\": \"-"},
        {250, "hardness", "{\"text\": \"HV =  "}, {600, "section", "{\"text\": null, \"results\": {"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        const RunResult run = runCli({"--settings", m_dir.string(), "--point", std::to_string(c.point),
                                      "--action", c.action, kExample});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.rfind(c.textStart, 0), 0u) << run.out;
        EXPECT_EQ(run.out, inProcess(c.point, c.action));
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
    }
    EXPECT_EQ(settingsFiles(), before);
    EXPECT_EQ(slurp(m_dir / "curve_setup.par"), modulusFile);
}

TEST_F(CliAnalyse, LoadingPointOffersLabelAndRates) {
    RunResult run = runCli({"--settings", m_dir.string(), "--point", "100", "--action", "label", kExample});
    EXPECT_EQ(
        run.out,
        "{\"text\": \"fused_silica_labelled.MVR\", \"results\": null, \"series\": null, \"point\": 100}\n");
    run = runCli({"--point", "100", "--action", "label", "--label", "tip A \"sharp\"", kExample});
    EXPECT_EQ(run.out,
              "{\"text\": \"tip A \\\"sharp\\\"\", \"results\": null, \"series\": null, \"point\": 100}\n");
    run = runCli({"--settings", m_dir.string(), "--point", "100", "--action", "loading-rate", kExample});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find(" mN/s\""), std::string::npos) << run.out;
    EXPECT_TRUE(settingsFiles().empty());
}

TEST_F(CliAnalyse, UsageErrorsAndRefusals) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err;
    };
    const std::string dir = m_dir.string();
    const std::vector<Case> cases{
        {{"--settings", dir, "--point", "100", "--action", "modulus", kExample}, 2, "does not offer"},
        {{"--settings", dir, "--point", "250", "--action", "label", kExample}, 2, "does not offer"},
        {{"--settings", dir, "--point", "420", "--action", "modulus", kExample}, 2, "does not offer"},
        {{"--settings", dir, "--point", "700", "--action", "modulus", kExample}, 2, "not a point"},
        {{"--settings", dir, "--point", "3x", "--action", "modulus", kExample}, 2, "point index"},
        {{"--settings", dir, "--action", "modulus", kExample}, 2, "--point or --click"},
        {{"--settings", dir, "--point", "350", kExample}, 2, "--action"},
        {{"--point", "350", "--action", "modulus"}, 2, "no curve file"},
        {{"--settings", dir, "--point", "250", "--action", "hardness", kExample}, 1, "No hardness formula"},
    };
    for (const Case& c : cases) {
        const RunResult run = runCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    // A refused calculation still reports, with nulls.
    const RunResult refused = runCli({"--settings", dir, "--point", "250", "--action", "hardness", kExample});
    EXPECT_EQ(refused.out, "{\"text\": null, \"results\": null, \"series\": null, \"point\": 250}\n");
}

TEST_F(CliAnalyse, ClickTakesThePointTheWindowTakes) {
    // The window's pick after a paint of the example at the given client size.
    auto windowPick = [&](int x, int y, int width, int height) {
        test::RecordingMessages messages;
        NoRepaint repaint;
        CMivaro4Doc doc(m_dir.string() + "/", messages, repaint);
        doc.appendPaths({kExample});
        doc.rebuildCurveSet();
        MainGraph graph;
        RecordingSurface surface(width, height);
        graph.paint(surface, GraphData{doc.curveSet(), doc.indentCurve().nameCount()});
        return pickClickedPoint(doc.curveSet(), PlotMapping(graph.settings(), graph.layout()), x, y);
    };
    struct Case {
        const char* click;
        const char* size;
        int x, y, width, height;
        bool analysed;
    };
    const std::vector<Case> cases{
        {"569,281", nullptr, 569, 281, 800, 600, true},    // an unloading point
        {"306,128", "400x300", 306, 128, 400, 300, true},  // the same click, smaller window
        {"5,5", nullptr, 5, 5, 800, 600, false},           // far from every point
        {"441,482", nullptr, 441, 482, 800, 600, false},   // a bottom-hold point
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.click);
        std::vector<std::string> args{"--settings", m_dir.string(), "--click",
                                      c.click,      "--action",     "modulus"};
        if (c.size != nullptr) {
            args.insert(args.end(), {"--size", c.size});
        }
        args.push_back(kExample);
        const RunResult run = runCli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        const std::optional<int> picked = windowPick(c.x, c.y, c.width, c.height);
        if (c.analysed) {
            ASSERT_TRUE(picked.has_value());
            EXPECT_EQ(run.out, inProcess(*picked, "modulus"));
        } else {
            EXPECT_EQ(run.out, "{\"text\": null, \"results\": null, \"series\": null, \"point\": null}\n");
        }
    }
    EXPECT_TRUE(settingsFiles().empty());
    EXPECT_EQ(runCli({"--click", "5;5", "--action", "modulus", kExample}).status, 2);
    EXPECT_EQ(runCli({"--point", "1", "--click", "5,5", "--action", "modulus", kExample}).status, 2);
}

}  // namespace
}  // namespace mivaro

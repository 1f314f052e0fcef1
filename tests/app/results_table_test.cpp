// The rows of the "Results" window: what a scripted click flow adds must be
// what `mivaro-cli analyse` prints for the same point, and the copies and the
// CSV must give those numbers back.
#include <gtest/gtest.h>

#include <filesystem>

#include "../analysis/analysis_fakes.h"
#include "analysis/analysis_row.h"
#include "app/all_curves_analysis.h"
#include "app/results_table.h"
#include "app/window_placement.h"
#include "curves/mivaro_doc.h"
#include "platform/c_format.h"
#include "support/run_cli.h"
#include "view/graph_clicks.h"

namespace mivaro {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(MIVARO_SOURCE_DIR) / "examples";

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// A value of the analyse JSON line as the copies print it ("%.9g").
std::string jsonValue(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\": ");
    if (at == std::string::npos) {
        return "missing " + name;
    }
    double value = 0;
    scanCDouble(json.substr(at + name.size() + 4), value);
    return formatC("%.9g", value);
}

std::string jsonText(const std::string& json) {
    const std::size_t at = json.find("{\"text\": \"");
    return at == std::string::npos ? "" : json.substr(at + 10, json.find('"', at + 10) - at - 10);
}

std::string cellText(const ResultRow& row, const std::string& column) {
    const ResultCell* cell = row.find(column);
    if (cell == nullptr) {
        return "absent " + column;
    }
    return cell->number ? formatC("%.9g", *cell->number) : cell->text;
}

struct NoRepaintPort final : RepaintPort {
    void requestRepaint(bool) override {}
};

class ResultsTableFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(kExamples / "fused_silica_labelled.MVR")) {
            GTEST_SKIP() << "example curves not found";
        }
        m_dir = fs::path(MIVARO_BINARY_DIR) / "results_table_test";
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        fs::copy_file(kExamples / "MivaroOpenSetup.par", m_dir / "MivaroOpenSetup.par");
        ModulusSettings modulus;
        modulus.forceMinPercent = 40;
        modulus.epsilon = "0.75";
        ASSERT_TRUE(writeModulusSettings(settings(), modulus));
        HardnessSettings hardness;
        hardness.formula = 1;
        hardness.includeHoldTime = 1;
        ASSERT_TRUE(writeHardnessSettings(settings(), hardness));
        m_files = {(kExamples / "fused_silica_labelled.MVR").string(),
                   (kExamples / "fused_silica_unlabelled.MVR").string()};
    }
    std::string settings() const { return m_dir.string() + "/"; }

    fs::path m_dir;
    std::vector<std::string> m_files;
};

TEST_F(ResultsTableFlow, ClickRowsAreWhatAnalysePrintsAndCopiesGiveThemBack) {
    test::RecordingMessages messages;
    NoRepaintPort repaint;
    CMivaro4Doc doc(settings(), messages, repaint);
    doc.appendPaths(m_files);
    doc.rebuildCurveSet();
    ASSERT_EQ(doc.curveSet().curveCount(), 2);

    // The dialogs answer with what they open with, as the command line does.
    test::ScriptedModulusDialog modulus;
    test::ScriptedHardnessDialog hardness;
    hardness.answer = readHardnessSettings(settings());
    test::ScriptedLoadingDialog loading;
    test::RecordingGraph graph;
    MainGraph mainGraph;
    GraphClickCommands clicks(mainGraph, doc,
                              {&messages, &repaint, nullptr, {&loading, &hardness, &modulus, &graph}});
    clicks.setSaveSettings(false);
    ResultsTable table;
    clicks.setResultObserver([&table](const ResultRow& row) { table.add(row); });

    struct Case {
        int point;  // of the CurveSet; the second file starts at 700
        const char* action;
        int modulusAction;
        int loadingAction;
        std::vector<std::pair<const char*, const char*>> columns;  // row column, JSON name
    };
    const std::vector<std::pair<const char*, const char*>> fit = {
        {"hf_nm", "hf"},      {"m", "m"},      {"a", "a"},       {"r2", "r2"},
        {"S_mN_per_nm", "S"}, {"hc_nm", "hc"}, {"Er_GPa", "Er"}, {"Es_GPa", "Es"}};
    const std::vector<Case> cases = {
        {350, "modulus", kActionModulus, kLoadingNone, fit},
        {500, "equation", kActionEquation, kLoadingNone, fit},
        {299,
         "hardness",
         0,
         kLoadingNone,
         {{"hc_nm", "hc"}, {"HM_N_per_mm2", "HM"}, {"HV", "HV"}, {"HRA", "HRA"}}},
        {120, "loading-rate", 0, kLoadingRate, {}},
        {600, "displacement-rate", kActionDisplacementRate, kLoadingNone, {}},
        {1000, "modulus", kActionModulus, kLoadingNone, fit},
        {650, "section", kActionSection, kLoadingNone, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " at " + std::to_string(c.point));
        modulus.action = c.modulusAction;
        loading.answer.action = c.loadingAction;
        const std::size_t before = table.rowCount();
        clicks.runOn(c.point);
        ASSERT_EQ(table.rowCount(), before + 1);
        const ResultRow& row = table.row(before);
        const test::RunResult cli =
            test::runCli({"analyse", "--settings", settings(), "--point", std::to_string(c.point), "--action",
                          c.action, m_files[0], m_files[1]});
        ASSERT_EQ(cli.status, 0) << cli.err;
        EXPECT_EQ(cellText(row, "analysis"), c.action);
        EXPECT_EQ(cellText(row, "text"), jsonText(cli.out));
        for (const auto& [column, name] : c.columns) {
            EXPECT_EQ(cellText(row, column), jsonValue(cli.out, name)) << column;
        }
        const int inFile = c.point >= 700 ? c.point - 700 : c.point;
        EXPECT_EQ(cellText(row, "point"), std::to_string(inFile));
        EXPECT_EQ(cellText(row, "file"), m_files[c.point >= 700 ? 1 : 0]);
    }
    const auto cell = [&](std::size_t r, const char* column) { return cellText(table.row(r), column); };
    // The branch or hold of each: the labelled file's runs.
    EXPECT_EQ(cell(0, "first_point") + "-" + cell(0, "last_point"), "300-399");
    EXPECT_EQ(cell(1, "first_point") + "-" + cell(1, "last_point") + " " + cell(1, "branch"),
              "450-549 Reloading");
    EXPECT_EQ(cell(2, "first_point") + "-" + cell(2, "last_point") + " " + cell(2, "branch"),
              "200-299 Top hold");
    EXPECT_EQ(cell(0, "modulus_force_min_pct") + " " + cell(0, "modulus_epsilon"), "40 0.75");
    EXPECT_EQ(cell(2, "hardness_formula"), "HV");
    EXPECT_EQ(cell(6, "sections"), std::to_string(graph.xs.at(0).size()));
    EXPECT_NE(cell(2, "hold_s").find('.'), std::string::npos);

    // Cancel and refusals add nothing.
    modulus.action = kActionCancelled;
    clicks.runOn(350);
    hardness.answer.formula = -1;
    clicks.runOn(299);
    EXPECT_EQ(table.rowCount(), cases.size());

    // The copy and the CSV carry every cell; numbers read back to the same "%.9g".
    const std::vector<std::string> tsv = split(table.tabSeparated({}), '\n');
    const std::vector<std::string> csv = split(table.csv(), '\n');
    ASSERT_EQ(tsv.size(), cases.size() + 2);  // header, rows, the empty rest after the last line end
    ASSERT_EQ(csv.size(), tsv.size());
    const std::vector<std::string> header = split(tsv[0], '\t');
    EXPECT_EQ(header, table.columns());
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        const std::vector<std::string> copied = split(tsv[r + 1], '\t');
        const std::vector<std::string> saved = split(csv[r + 1], ',');
        ASSERT_EQ(copied.size(), header.size());
        ASSERT_EQ(saved.size(), header.size()) << csv[r + 1];  // no example text holds a comma
        for (std::size_t c = 0; c < header.size(); ++c) {
            const std::optional<double> number = table.number(r, c);
            if (!number) {
                EXPECT_EQ(copied[c], table.exactText(r, c));
                continue;
            }
            double back = 0;
            ASSERT_TRUE(scanCDouble(copied[c], back)) << header[c];
            EXPECT_EQ(formatC("%.9g", back), formatC("%.9g", *number)) << header[c];
            EXPECT_EQ(saved[c], copied[c]);
        }
    }
    EXPECT_EQ(split(table.tabSeparated({4, 1}), '\n').at(1), tsv[5]);
}

TEST_F(ResultsTableFlow, AllCurvesComeInFileOrderAndStopAtCancel) {
    std::vector<std::string> files;
    for (int k = 0; k < 12; ++k) {
        files.push_back(m_files[static_cast<std::size_t>(k % 2)]);
    }
    std::atomic<bool> cancel{false};
    std::vector<std::string> seen;
    const BatchSettings settingsUsed = readBatchSettings(settings());
    const std::size_t handed =
        analyseAllCurves(files, settingsUsed, 3, cancel, [&](ResultRow row, std::size_t done) {
            seen.push_back(cellText(row, "file"));
            EXPECT_EQ(done, seen.size());
            EXPECT_EQ(cellText(row, "error"), "");
            if (seen.size() == 5) {
                cancel = true;
            }
        });
    EXPECT_EQ(handed, 5u);
    EXPECT_EQ(seen, std::vector<std::string>(files.begin(), files.begin() + 5));
}

TEST(ResultsTable, ColumnsKeepTheirOrderShowSixDigitsAndStayOneCellEach) {
    ResultsTable table;
    ResultRow first;
    first.setText("text", "Es = \t1.5\nGPa");
    first.setNumber("Er_GPa", 71.234567891);
    first.setText("file", "/data/a,b.MVR");
    ResultRow second;
    second.setNumber("iso_Er_GPa", 70.5);
    second.setNumber("Pmax_mN", 10);
    second.setText("error", "failed");
    EXPECT_TRUE(table.add(first));
    EXPECT_TRUE(table.add(second));
    EXPECT_FALSE(table.add(first));
    EXPECT_EQ(table.columns(),
              (std::vector<std::string>{"file", "Pmax_mN", "Er_GPa", "iso_Er_GPa", "text", "error"}));
    EXPECT_EQ(table.displayText(0, 2), "71.2346");
    EXPECT_EQ(table.exactText(0, 2), "71.2345679");
    EXPECT_EQ(table.displayText(0, 0), "a,b.MVR");
    EXPECT_EQ(table.displayText(1, 0), "");
    EXPECT_EQ(split(table.tabSeparated({0}), '\n').at(1), "/data/a,b.MVR\t\t71.2345679\t\tEs =  1.5 GPa\t");
    EXPECT_NE(table.csv().find("\n\"/data/a,b.MVR\",,71.2345679,,\"Es = \t1.5\nGPa\",\n"), std::string::npos);
    table.clear();
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_TRUE(table.columns().empty());

    const std::vector<std::pair<const char*, const char*>> titles = {
        {"Er_GPa", "Er (GPa)"},
        {"S_mN_per_nm", "S (mN/nm)"},
        {"HM_N_per_mm2", "HM (N/mm\u00b2)"},
        {"modulus_Cf_nm_per_mN", "modulus Cf (nm/mN)"},
        {"modulus_force_min_pct", "modulus force min (%)"},
        {"hold_s", "hold (s)"},
        {"first_point", "first point"},
        {"sections", "sections"}};
    for (const auto& [name, title] : titles) {
        EXPECT_EQ(columnTitle(name), title);
    }
}

TEST(WindowPlacement, BesideTheMainWindowNeverOverIt) {
    const ScreenRect screen{0, 0, 1280, 1024};
    const WindowSizes sizes{760, 360, 420, 220};
    struct Case {
        ScreenRect main;
        std::optional<ScreenRect> expected;
    };
    const std::vector<Case> cases = {
        {{0, 0, 400, 700}, ScreenRect{400, 0, 760, 360}},        // right, full size
        {{0, 0, 800, 700}, ScreenRect{800, 0, 480, 360}},        // right, narrower
        {{700, 800, 500, 200}, ScreenRect{0, 664, 700, 360}},    // left, kept on the screen
        {{0, 0, 1000, 700}, ScreenRect{0, 700, 760, 324}},       // below
        {{100, 400, 1000, 624}, ScreenRect{100, 40, 760, 360}},  // above
        {{0, 0, 1280, 1024}, std::nullopt},                      // no room
        {{0, 0, 1000, 850}, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<ScreenRect> place = placeBeside(screen, c.main, sizes);
        ASSERT_EQ(place.has_value(), c.expected.has_value());
        if (!place) {
            continue;
        }
        EXPECT_EQ(std::tie(place->left, place->top, place->width, place->height),
                  std::tie(c.expected->left, c.expected->top, c.expected->width, c.expected->height));
        const bool apart = place->right() <= c.main.left || place->left >= c.main.right() ||
                           place->bottom() <= c.main.top || place->top >= c.main.bottom();
        EXPECT_TRUE(apart);
    }
}

}  // namespace
}  // namespace mivaro

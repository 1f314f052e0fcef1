// Runs `mivaro-cli batch` of this build on the example curves and on broken
// files, and checks its rows against `mivaro-cli analyse` on the same runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "analysis/batch_analysis.h"
#include "analysis/batch_runner.h"
#include "platform/c_format.h"
#include "support/run_cli.h"

namespace mivaro {
namespace {

namespace fs = std::filesystem;

using test::runCli;
using test::RunResult;
using test::slurp;

const fs::path kExamples = fs::path(MIVARO_SOURCE_DIR) / "examples";

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// The fields of one CSV line, quotes undone.
std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// A number of the analyse JSON line, printed as the table prints numbers.
std::string jsonNumberAsCsv(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\": ");
    if (at == std::string::npos) {
        return "missing " + name;
    }
    double value = 0;
    scanCDouble(json.substr(at + name.size() + 4), value);
    return formatC("%.9g", value);
}

class CliBatch : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::path(MIVARO_BINARY_DIR) / "cli_batch_test" /
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "settings");
        if (!fs::exists(kExamples / "fused_silica_labelled.MVR")) {
            GTEST_SKIP() << "example curves not found";
        }
        fs::copy_file(kExamples / "MivaroOpenSetup.par", m_dir / "settings/MivaroOpenSetup.par");
        ModulusSettings modulus;
        modulus.epsilon = "0.75";
        modulus.forceMinPercent = 30;
        ASSERT_TRUE(writeModulusSettings(settings() + "/", modulus));
        HardnessSettings hardness;
        hardness.formula = 2;
        ASSERT_TRUE(writeHardnessSettings(settings() + "/", hardness));
    }
    std::string settings() const { return (m_dir / "settings").string(); }
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(m_dir / name, std::ios::binary) << content;
        return (m_dir / name).string();
    }
    RunResult batch(std::vector<std::string> args) const {
        args.insert(args.begin(), {"batch", "--settings", settings()});
        return runCli(args);
    }

    fs::path m_dir;
};

TEST_F(CliBatch, ExampleRowsAreWhatAnalyseGivesForTheSameRuns) {
    const std::vector<std::string> files = {(kExamples / "fused_silica_labelled.MVR").string(),
                                            (kExamples / "fused_silica_unlabelled.MVR").string(),
                                            (kExamples / "machine_export.txt").string()};
    const auto before =
        slurp(m_dir / "settings/curve_setup.par") + slurp(m_dir / "settings/hardness_setup.par");
    const RunResult table = batch(files);
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.err, "");
    const auto rows = splitLines(table.out);
    ASSERT_EQ(rows.size(), files.size() + 1);
    EXPECT_EQ(rows[0],
              "file,points,Pmax_mN,hmax_nm,hf_nm,m,a,r2,S_mN_per_nm,hc_nm,Er_GPa,Es_GPa,HM_N_per_mm2,HV,HRA,"
              "hold_s,error");

    for (std::size_t k = 0; k < files.size(); ++k) {
        SCOPED_TRACE(files[k]);
        // The run a user would click, found from the point listing: the unloading after the highest force.
        const auto points = splitLines(runCli({"points", "--settings", settings(), files[k]}).out);
        std::vector<std::vector<std::string>> p;
        for (std::size_t i = 1; i < points.size(); ++i) {
            p.push_back(csvFields(points[i]));
        }
        const auto force = [&](std::size_t i) { return std::stod(p[i][3]); };
        std::size_t peak = 0;
        for (std::size_t i = 0; i < p.size(); ++i) {
            peak = force(i) > force(peak) ? i : peak;
        }
        std::size_t first = peak;
        while (p[first][5] != "U") {
            ++first;
        }
        std::size_t last = first;
        std::size_t runPeak = first;
        for (; last + 1 < p.size() && p[last + 1][5] == "U"; ++last) {
            runPeak = force(last + 1) > force(runPeak) ? last + 1 : runPeak;
        }
        ASSERT_EQ(p[first - 2][5] + p[first - 1][5], "TT");
        // Other points of the runs than the batch takes: any point of a run gives the same numbers.
        const auto analyse = [&](std::size_t point, const char* action) {
            return runCli({"analyse", "--settings", settings(), "--point", p[point][1], "--action", action,
                           files[k]})
                .out;
        };
        const std::string modulus = analyse(last, "modulus");
        const std::string hardness = analyse(first - 2, "hardness");
        const auto row = csvFields(rows[k + 1]);
        ASSERT_EQ(row.size(), 17u);
        const std::vector<std::string> expected = {files[k],
                                                   std::to_string(p.size()),
                                                   p[runPeak][3],
                                                   p[runPeak][2],
                                                   jsonNumberAsCsv(modulus, "hf"),
                                                   jsonNumberAsCsv(modulus, "m"),
                                                   jsonNumberAsCsv(modulus, "a"),
                                                   jsonNumberAsCsv(modulus, "r2"),
                                                   jsonNumberAsCsv(modulus, "S"),
                                                   jsonNumberAsCsv(modulus, "hc"),
                                                   jsonNumberAsCsv(modulus, "Er"),
                                                   jsonNumberAsCsv(modulus, "Es"),
                                                   jsonNumberAsCsv(hardness, "HM"),
                                                   jsonNumberAsCsv(hardness, "HV"),
                                                   jsonNumberAsCsv(hardness, "HRA"),
                                                   row[15],  // below
                                                   ""};
        EXPECT_EQ(row, expected);
        EXPECT_GT(std::stod(row[15]), 1.0);  // the hold lasts seconds
    }
    EXPECT_EQ(slurp(m_dir / "settings/curve_setup.par") + slurp(m_dir / "settings/hardness_setup.par"),
              before);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "settings"), fs::directory_iterator()), 3);
}

TEST_F(CliBatch, BadFilesGetErrorRowsAndTheSameTableForAnyNumberOfJobs) {
    const std::string good = (m_dir / "a,b \"q\".MVR").string();  // a path CSV must quote
    fs::copy_file(kExamples / "fused_silica_labelled.MVR", good);
    const std::string alone = splitLines(batch({good}).out).at(1);
    ASSERT_EQ(alone.rfind(csvField(good) + ",700,", 0), 0u) << alone;

    struct Case {
        std::string file;
        const char* error;  // nullptr: the good row
    };
    const std::vector<Case> cases = {
        {good, nullptr},
        {(m_dir / "missing.MVR").string(), "The file could not be read: No such file or directory."},
        {write("hold.MVR", "h\n0.1,1,0,LOAD\n0.2,2,1,LOAD\n0.3,3,2,TOP_HOLD\n"),
         "No unloading run follows the highest force."},
        {write("one.MVR", "h\n0.1,1,0,LOAD\n0.2,2,1,TOP_HOLD\n0.3,3,2,UNLOAD\n0.25,1,3,BOTTOM_HOLD\n"),
         "The force range selects no points of the branch"},
        {write("column.MVR", "h\n0.3,3,3,LOAD\n0.35\n"), "Error loading the force column."},
        {write("empty.MVR", "h\n"), "The file holds no points."},
    };
    std::vector<std::string> files;
    for (int copy = 0; copy < 4; ++copy) {
        for (const Case& c : cases) {
            files.push_back(c.file);
        }
    }
    std::vector<std::string> args = {"--jobs", "1"};
    args.insert(args.end(), files.begin(), files.end());
    const RunResult one = batch(args);
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(one.err, "");  // no progress line when standard error is no terminal
    const auto rows = splitLines(one.out);
    ASSERT_EQ(rows.size(), files.size() + 1);
    for (std::size_t k = 0; k < files.size(); ++k) {
        const Case& c = cases[k % cases.size()];
        SCOPED_TRACE(c.file);
        if (c.error == nullptr) {
            EXPECT_EQ(rows[k + 1], alone);
        } else {
            const auto row = csvFields(rows[k + 1]);
            ASSERT_EQ(row.size(), 17u);
            EXPECT_EQ(row[0], c.file);
            EXPECT_EQ(row[16].rfind(c.error, 0), 0u) << row[16];
            EXPECT_EQ(rows[k + 1], csvField(c.file) + std::string(15, ',') + "," + csvField(row[16]));
        }
    }

    args[1] = "4";
    EXPECT_EQ(batch(args).out, one.out);
    const std::string out = (m_dir / "table.csv").string();
    args.insert(args.begin(), {"--out", out});
    const RunResult toFile = batch(args);
    EXPECT_EQ(toFile.status, 1);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(slurp(out), one.out);
}

TEST_F(CliBatch, UsageErrorsExitWithTwo) {
    const std::string file = (kExamples / "fused_silica_labelled.MVR").string();
    const std::vector<std::pair<std::vector<std::string>, const char*>> cases = {
        {{"batch", file, "--jobs", "0"}, "--jobs"},
        {{"batch", "--jobs", "2x", file}, "--jobs"},
        {{"batch", "--solve", "Es", file}, "--solve"},
        {{"batch", "--settings", (m_dir / "nowhere").string(), file}, "does not exist"},
        {{"batch", "--settings", settings()}, "no curve file"},
    };
    for (const auto& [args, why] : cases) {
        const RunResult r = runCli(args);
        EXPECT_EQ(r.status, 2) << why;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
    }
    // --solve picks the column and the quantity; a file choosing none needs it.
    write("settings/curve_setup.par", "1141.0\n70.0\n100\n50\n0.07\n0.17\n24.56\n0\n0\n7\n");
    EXPECT_EQ(batch({file}).status, 2);
    const RunResult vs = batch({"--solve", "vs", file});
    EXPECT_EQ(vs.status, 0) << vs.err;
    EXPECT_NE(vs.out.find(",Er_GPa,Vs,HM_N"), std::string::npos);
}

// --iso keeps every earlier column and value and adds the results with their
// provenance; analyse --iso gives the same numbers; --summary quotes them.
TEST_F(CliBatch, IsoAddsColumnsAfterTheUnchangedOnesAndASummary) {
    const std::vector<std::string> files = {(kExamples / "fused_silica_labelled.MVR").string(),
                                            (kExamples / "fused_silica_unlabelled.MVR").string(),
                                            (kExamples / "machine_export.txt").string()};
    std::vector<std::string> plainArgs = files;
    const RunResult plain = batch(plainArgs);
    const std::string summary = (m_dir / "summary.csv").string();
    std::vector<std::string> isoArgs = {"--iso",   "--fit", "document",  "--area", "24.5,0,0.5",
                                        "--drift", "0",     "--summary", summary};
    isoArgs.insert(isoArgs.end(), files.begin(), files.end());
    const RunResult iso = batch(isoArgs);
    ASSERT_EQ(iso.status, plain.status) << iso.err;
    const auto before = splitLines(plain.out);
    const auto after = splitLines(iso.out);
    ASSERT_EQ(before.size(), after.size());
    const auto header = csvFields(after[0]);
    for (std::size_t k = 0; k < before.size(); ++k) {
        EXPECT_EQ(after[k].rfind(before[k] + ",", 0), 0u) << after[k];
    }
    EXPECT_EQ(header.back(), "program_version");
    const auto column = [&](const std::string& name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
    };
    // The document fit without corrections is the click's: the same hf and hc, at every digit printed.
    for (std::size_t k = 1; k < after.size(); ++k) {
        const auto row = csvFields(after[k]);
        ASSERT_EQ(row.size(), header.size());
        EXPECT_EQ(row[column("iso_hf_nm")], row[column("hf_nm")]);
        EXPECT_EQ(row[column("iso_hc_nm")], row[column("hc_nm")]);
        EXPECT_EQ(row[column("iso_fit")], "document");
        EXPECT_EQ(row[column("iso_C2")], "0.5");
    }
    const RunResult json =
        runCli({"analyse", "--settings", settings(), "--point", "600", "--action", "modulus", "--iso",
                "--fit", "document", "--area", "24.5,0,0.5", files[0]});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto first = csvFields(after[1]);
    for (const char* name : {"Er_GPa", "HIT_MPa", "Wtotal_pJ", "hmax_nm"}) {
        EXPECT_EQ(jsonNumberAsCsv(json.out.substr(json.out.find("\"iso\": ")), name),
                  first[column(std::string("iso_") + name)])
            << name;
    }
    const auto lines = splitLines(slurp(summary));
    ASSERT_GT(lines.size(), 3u);
    EXPECT_EQ(lines[0], "column,n,mean,sd,cv_pct,median,mad,min,max");
    EXPECT_NE(slurp(summary).find("\niso_Er_GPa,"), std::string::npos);
    EXPECT_NE(slurp(summary).find("\n\noutliers,file,indent,value,median,scaled_mads\n"), std::string::npos);

    const std::vector<std::pair<std::vector<std::string>, const char*>> misuse = {
        {{"--fit", "lsq", files[0]}, "--fit goes with --iso"},
        {{"--iso", "--window", "90-10", files[0]}, "--window needs"},
        {{"--iso", "--nu-s", "file", files[0]}, "--recognise"},
        {{"--iso", "--summary", summary, "--out", summary, files[0]}, "same file"},
    };
    for (const auto& [args, why] : misuse) {
        const RunResult r = batch(args);
        EXPECT_EQ(r.status, 2) << why;
        EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
    }
}

// --recognise --iso over real exports: the values asked for as "file" are the
// file's own (tip coefficients in nm, compliance in nm/mN), the error names
// what a file lacks, the printed results stand in the instrument_ columns,
// and every row of the table has the header's columns.
TEST_F(CliBatch, RecognisedExportsGiveTheirOwnValuesAndTheInstrumentsResults) {
    const fs::path shared = fs::path(MIVARO_SHARED_TESTDATA) / "instrument-exports";
    if (!fs::exists(shared)) {
        GTEST_SKIP() << "the shared instrument exports are not here: " << shared;
    }
    const struct {
        const char* file;
        std::size_t rows;
        const char *c1, *cf, *driftSource, *error, *instrumentHit;
    } cases[] = {
        // Its compliance exceeds the whole unloading's 1/S: nothing physical is left of the contact.
        {"hysitron_highload_Exp-50mN_0000.hld", 1, "-329697", "6.63947", "file", "not converge", ""},
        {"hysitron_ti_nanodent_experiment_a.hld", 1, "7749.44", "0", "file",
         "The file gives no frame compliance (--frame-compliance file) and no drift rate (--drift file).",
         ""},
        {"hysitron_triboscan_RobinSteel0000LC.txt", 1, "0", "0", "file", "no tip area coefficients", ""},
        {"agilent_xp_fused_silica_FS_XP.xls", 9, "395.770081", "0", "instrument (0.014 nm/s)",
         "no frame compliance", "10447"},
    };
    std::vector<std::string> args = {"--recognise", "--iso",   "--area", "file",   "--frame-compliance",
                                     "file",        "--drift", "file",   "--jobs", "2"};
    for (const auto& c : cases) {
        args.push_back((shared / c.file).string());
    }
    const RunResult r = batch(args);
    EXPECT_EQ(r.status, 1) << r.err;
    const auto lines = splitLines(r.out);
    const auto header = csvFields(lines.at(0));
    EXPECT_EQ(header.back(), "instrument_CIT_pct");
    const auto column = [&](const std::string& name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
    };
    std::size_t at = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_GE(lines.size(), at + c.rows);
        const auto row = csvFields(lines[at]);
        ASSERT_EQ(row.size(), header.size());
        EXPECT_NE(row[column("file")].find(c.file), std::string::npos);
        EXPECT_EQ(row[column("iso_C1")], c.c1);
        EXPECT_EQ(row[column("iso_Cf_nm_per_mN")], c.cf);
        EXPECT_EQ(row[column("iso_drift_source")], c.driftSource);
        EXPECT_NE(row[column("error")].find(c.error), std::string::npos) << row[column("error")];
        EXPECT_EQ(row[column("iso_Er_GPa")].empty(), *c.error != 0);
        EXPECT_EQ(row[column("instrument_HIT_MPa")], c.instrumentHit);
        for (std::size_t k = at; k < at + c.rows; ++k) {
            EXPECT_EQ(csvFields(lines[k]).size(), header.size()) << lines[k];
        }
        at += c.rows;
    }
    EXPECT_EQ(lines.size(), at);
}

TEST_F(CliBatch, RowsAreTheSameInADecimalCommaLocale) {
    const BatchSettings settings = readBatchSettings(this->settings());
    const auto table = [&] {
        std::string text;
        for (const char* name : {"fused_silica_labelled.MVR", "machine_export.txt"}) {
            text += batchCsvRow(analyseBatchFile(settings, (kExamples / name).string()), 0);
        }
        return text;
    };
    const std::string inC = table();
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/install-deps generates it)";
    }
    const BatchSettings german = readBatchSettings(this->settings());
    const bool sameSettings = german.modulus == settings.modulus && german.hardness == settings.hardness;
    const std::string inGerman = table();
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_TRUE(sameSettings);
    EXPECT_EQ(inGerman, inC);
    EXPECT_NE(inC.find(".9"), std::string::npos);
}

// The output keeps the given order and the jobs never run far ahead of it.
TEST(BatchRunner, EmitsInOrderWithBoundedLinesAhead) {
    for (const unsigned jobs : {1u, 3u, 8u}) {
        std::mutex mutex;
        int started = 0;
        int emitted = 0;
        int mostAhead = 0;
        std::vector<std::string> order;
        const BatchTally tally = runBatch(
            200, jobs,
            [&](std::size_t k) {
                {
                    const std::lock_guard lock(mutex);
                    mostAhead = std::max(mostAhead, ++started - emitted);
                }
                std::this_thread::sleep_for(std::chrono::microseconds((k * 7919) % 300));
                return BatchLine{std::to_string(k), k % 10 == 3};
            },
            [&](const BatchLine& line) {
                order.push_back(line.text);
                const std::lock_guard lock(mutex);
                ++emitted;
            });
        ASSERT_EQ(order.size(), 200u);
        for (std::size_t k = 0; k < order.size(); ++k) {
            ASSERT_EQ(order[k], std::to_string(k));
        }
        EXPECT_EQ(tally.done, 200u);
        EXPECT_EQ(tally.withErrors, 20u);
        EXPECT_LE(mostAhead, static_cast<int>(5 * jobs));
    }
}

}  // namespace
}  // namespace mivaro

// mivaro-cli convert, guess and save-as, run as a separate process.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/run_cli.h"

namespace {

namespace fs = std::filesystem;
using mivaro::test::runCli;
using mivaro::test::RunResult;
using mivaro::test::slurp;

class CliImport : public ::testing::Test {
  protected:
    CliImport() {
        m_dir = fs::temp_directory_path() / ("mivaro_cli_import_" + std::to_string(getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "settings");
        // Header 1, columns 1 and 2, nm and mN, comma, time column 3.
        write("settings/MivaroOpenSetup.par", "1\n1\n2\n0\n0\n1\n0\n;\n0\n1\n0\n3\n");
    }
    ~CliImport() override { fs::remove_all(m_dir); }

    std::string write(const std::string& name, const std::string& content) {
        std::ofstream(m_dir / name, std::ios::binary) << content;
        return (m_dir / name).string();
    }
    fs::path m_dir;
};

const char* const kExport = "Depth (nm),Load (mN),Time (s)\n100,0.1,0\n200,0.2,1\n300,0.3,2\n250,0.1,3\n";

TEST_F(CliImport, ConvertPrintsEachWrittenFileAndWritesNothingToTheSettings) {
    write("a.txt", kExport);
    write("a.csv", kExport);
    const RunResult r = runCli({"convert", "--settings", "settings", "a.txt", "a.csv"}, m_dir);
    EXPECT_EQ(r.status, 1) << r.err;  // the second file's new name is told on stderr
    EXPECT_EQ(r.out, "a.MVR\na_2.MVR\n");
    EXPECT_NE(r.err.find("a_2.MVR"), std::string::npos);
    EXPECT_EQ(slurp(m_dir / "a.MVR"), slurp(m_dir / "a_2.MVR"));
    EXPECT_EQ(slurp(m_dir / "a.MVR").substr(0, 78),
              "Depth(um),Force(mN),Time(s),Segment\r\n1.000000e-01,1.000000e-01,0.000000,LOAD\r\n");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir / "settings")) {
        ++files;
    }
    EXPECT_EQ(files, 1u);

    const RunResult bad = runCli({"convert", "--settings", "settings", "missing.txt"}, m_dir);
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(runCli({"convert"}, m_dir).status, 2);
}

// convert --recognise writes what the dialog's OK writes and goes on past a
// broken file; batch --recognise gives one complete row per indent, in file order.
TEST_F(CliImport, RecogniseConvertsAndBatchesEveryIndent) {
    write("broken.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + "truncated");
    write("plain.txt", "Col A,Col B,Col C\n100,0.1,0\n200,0.2,1\n300,0.3,2\n");  // no format claims it
    const RunResult r =
        runCli({"convert", "--recognise", "--settings", "settings", "broken.xls", "plain.txt"}, m_dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "plain.MVR\n");
    EXPECT_NE(r.err.find("broken.xls"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(m_dir / "broken.MVR"));

    const fs::path shared = fs::path(MIVARO_SHARED_TESTDATA) / "instrument-exports";
    if (!fs::exists(shared)) {
        GTEST_SKIP() << "the shared instrument exports are not here: " << shared;
    }
    struct Case {
        const char* file;
        std::size_t indents;
        const char* firstIndent;
        const char* firstOutput;
    };
    const Case cases[] = {
        {"agilent_xp_fused_silica_FS_XP.xls", 9, "Test 009", "agilent_xp_fused_silica_FS_XP_Test_009.MVR"},
        {"micromaterials_multipleIndentations.zip", 39, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        fs::copy_file(shared / c.file, m_dir / c.file, fs::copy_options::overwrite_existing);
        const RunResult converted = runCli({"convert", "--recognise", c.file}, m_dir);
        EXPECT_EQ(converted.status, 0) << converted.err;
        EXPECT_EQ(static_cast<std::size_t>(std::count(converted.out.begin(), converted.out.end(), '\n')),
                  c.indents);
        if (*c.firstOutput != 0) {
            EXPECT_EQ(converted.out.substr(0, converted.out.find('\n')), c.firstOutput);
        }
        const RunResult table = runCli({"batch", "--recognise", "--jobs", "2", c.file}, m_dir);
        EXPECT_EQ(table.status, 0) << table.out;
        std::istringstream lines(table.out);
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line.rfind("file,indent,points,", 0), 0u) << line;
        std::size_t rows = 0;
        while (std::getline(lines, line)) {
            ++rows;
            EXPECT_EQ(line.rfind(std::string(c.file) + ",", 0), 0u) << line;
            EXPECT_EQ(line.back(), ',') << "the error column is empty: " << line;
            if (rows == 1 && *c.firstIndent != 0) {
                EXPECT_EQ(line.rfind(std::string(c.file) + "," + c.firstIndent + ",", 0), 0u) << line;
            }
        }
        EXPECT_EQ(rows, c.indents);
    }
}

TEST_F(CliImport, GuessPrintsTheSetupAndPreviewsAsJson) {
    write("g.txt", "Depth (nm)\tLoad (\xB5N)\n1.5\t2.5\n1.5\t2.5\n");
    const RunResult r = runCli({"guess", "g.txt"}, m_dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        r.out,
        "{\"header_lines\":1,\"displacement_column\":1,\"force_column\":2,\"decimal_comma\":0,"
        "\"depth_unit\":0,\"force_unit\":0,\"separator_kind\":1,\"other_separator\":\";\","
        "\"segment_present\":0,\"time_present\":1,\"segment_column\":1,\"time_column\":0,"
        "\"preview\":\"H> Depth (nm)  \\u007f  Load (\xC2\xB5N)\\r\\n2> 1.5  \\u007f  2.5\\r\\n3> 1.5  "
        "\\u007f  2.5\\r\",\"displacement\":\"1.5   \\r\\n1.5   \\r\",\"force\":\"  2.5 \\r\\n  2.5 \\r\","
        "\"time\":\"?????\",\"segment\":\"\"}\n");
    EXPECT_EQ(runCli({"guess", "g.txt", "g.txt"}, m_dir).status, 2);
}

TEST_F(CliImport, SaveAsPrintsEveryFileSavedAs) {
    write("test.MVR", "h\n1,1,0,LOAD\n2,2,1,LOAD\n3,3,2,UNLOAD\n");
    write("probe.MVR", "h\n1,5,0,LOAD\n2,6,1,LOAD\n3,7,2,LOAD\n");
    fs::create_directories(m_dir / "out");
    const RunResult r = runCli({"save-as", "--name", "out/result.MVR", "test.MVR", "probe.MVR"}, m_dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "out/result_test.MVR\nout/result_probe.MVR\n");
    EXPECT_TRUE(fs::exists(m_dir / "out/result_probe.MVR"));
    EXPECT_EQ(runCli({"save-as", "test.MVR"}, m_dir).status, 2);
}

}  // namespace

// Runs the mivaro-cli executable of this build and checks what `points` prints.
#include <fcntl.h>
#include <locale.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_cli.h"

namespace {

namespace fs = std::filesystem;

using mivaro::test::runCli;
using mivaro::test::RunResult;
using mivaro::test::slurp;

class CliPoints : public ::testing::Test {
  protected:
    CliPoints() {
        m_dir = fs::temp_directory_path() / ("mivaro_cli_" + std::to_string(getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "settings");
    }
    ~CliPoints() override { fs::remove_all(m_dir); }

    std::string write(const std::string& name, const std::string& content) {
        std::ofstream(m_dir / name, std::ios::binary) << content;
        return (m_dir / name).string();
    }

    fs::path m_dir;
};

const char* const kHeader = "curve,index,depth_nm,force_mN,time_s,segment\n";

TEST_F(CliPoints, PrintsEveryPointOfTheCurveSet) {
    write("a.MVR",
          "Depth(um),Force(mN),Time(s),Segment\r\n"
          "1.234500e+00,5.000000e-01,0.100000,LOAD\r\n"
          "2.000000e+00,1.000000e+00,0.200000,LOAD\r\n"
          "2.100000e+00,1.000000e+00,0.300000,TOP_HOLD\r\n");
    write("b.MVR", "h\n1e-3,1e-7,12345.678,UNLOAD\n0,5,5,UNLOAD\n");
    // Relative paths, the same file twice: it is loaded once.
    const RunResult r = runCli({"points", "a.MVR", "b.MVR", "a.MVR"}, m_dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, std::string(kHeader) +
                         "0,0,1234.5,0.5,0.100000001,L\n"
                         "0,1,2000,1,0.200000003,L\n"
                         "0,2,2100,1,0.300000012,T\n"
                         "1,3,1,1.00000001e-07,12345.6777,U\n");
}

TEST_F(CliPoints, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> usages = {{"points"},
                                                          {"points", "--settings"},
                                                          {"points", "--settings", "dir"},
                                                          {"points", "--bogus", "a.MVR"},
                                                          {}};
    for (const auto& args : usages) {
        const RunResult r = runCli(args, m_dir);
        EXPECT_EQ(r.status, 2) << (args.size() > 1 ? args[1] : "");
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage"), std::string::npos) << r.err;
    }
}

TEST_F(CliPoints, MessagesGoToStandardErrorWithStatusOne) {
    write("a.MVR", "h\n0.1,1,1,LOAD\n0.2,2,2,LOAD\n");
    RunResult r = runCli({"points", "a.MVR", "missing.MVR"}, m_dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string(kHeader) + "0,0,100,1,1,L\n0,1,200,2,2,L\n");
    EXPECT_EQ(r.err, "mivaro-cli points: cannot read missing.MVR: No such file or directory\n");

    // A column error leaves only that file out: the points before and after it are printed.
    write("bad.MVR", "h\n0.3,3,3,LOAD\n0.35\n");
    write("a2.MVR", "h\n0.5,5,5,LOAD\n");
    r = runCli({"points", "a.MVR", "bad.MVR", "a2.MVR"}, m_dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string(kHeader) + "0,0,100,1,1,L\n0,1,200,2,2,L\n1,2,500,5,5,L\n");
    EXPECT_NE(r.err.find("Error loading the force column.\nbad.MVR\nline 3"), std::string::npos) << r.err;
}

TEST_F(CliPoints, ReadsSettingsFromTheGivenDirectoryOnly) {
    write("data.txt", "depth;force\n500;250\n");
    const std::string setup = "1\n1\n2\n0\n0\n0\n3\n;\n0\n0\n4\n3\n";  // nm, uN, ';'
    write("settings/MivaroOpenSetup.par", setup);
    const RunResult r = runCli({"points", "--settings", "settings", "data.txt"}, m_dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(kHeader) + "0,0,500,0.25,0,T\n");
    // Nothing is written to the settings directory.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir / "settings")) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"MivaroOpenSetup.par"});
    EXPECT_EQ(slurp(m_dir / "settings/MivaroOpenSetup.par"), setup);

    // Without --settings the current directory holds the settings: none here,
    // so the standard setup reads the ';' line as one column and fails.
    const RunResult plain = runCli({"points", "data.txt"}, m_dir);
    EXPECT_EQ(plain.status, 1);
    EXPECT_NE(plain.err.find("Error loading the force column."), std::string::npos) << plain.err;
}

TEST_F(CliPoints, PrintsTheSameInADecimalCommaLocale) {
    locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(nullptr));
    if (german == static_cast<locale_t>(nullptr)) {
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/install-deps generates it)";
    }
    freelocale(german);
    write("a.MVR", "h\n1.5e-1,2.25,0.125,LOAD\n0.3,4.5,1.75,UNLOAD\n");
    write("c.txt", "x\n0,5\t1,25\n");
    write("MivaroOpenSetup.par", "1\n1\n2\n1\n1\n1\n1\n;\n0\n0\n4\n3\n");  // tab, decimal comma
    const std::vector<std::string> args = {"points", "a.MVR", "c.txt"};
    const RunResult c = runCli(args, m_dir, {"LC_ALL=C"});
    const RunResult de = runCli(args, m_dir, {"LC_ALL=de_DE.UTF-8"});
    EXPECT_EQ(c.status, 0) << c.err;
    EXPECT_EQ(de.status, c.status);
    EXPECT_EQ(de.out, c.out);
    EXPECT_EQ(c.out, std::string(kHeader) + "0,0,150,2.25,0.125,L\n0,1,300,4.5,1.75,U\n1,2,500,1.25,0,T\n");
}

TEST_F(CliPoints, RunsOnTheBundledExamples) {
    const fs::path examples = fs::path(MIVARO_SOURCE_DIR) / "examples";
    if (!fs::exists(examples / "fused_silica_labelled.MVR")) {
        GTEST_SKIP() << "examples not generated";
    }
    const RunResult r =
        runCli({"points", "fused_silica_labelled.MVR", "fused_silica_unlabelled.MVR"}, examples);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_GT(r.out.size(), 1000u);
    for (const char letter : {'L', 'T', 'U', 'B', 'R'}) {
        EXPECT_NE(r.out.find(std::string(",") + letter + "\n"), std::string::npos) << letter;
    }
    // The test-machine export with the setup that reads it: 720 rows, all points.
    const RunResult export_ =
        runCli({"points", "--settings", "machine_export_setup", "machine_export.txt"}, examples);
    EXPECT_EQ(export_.status, 0) << export_.err;
    EXPECT_NE(export_.out.find("\n0,719,"), std::string::npos);
    EXPECT_EQ(export_.out.find("\n0,720,"), std::string::npos);
}

// The bundled curves model fused silica: the modulus calculation with the
// Berkovich area function 24.5 hc^2 and epsilon 0.75 must find it again, on
// every unloading and reloading branch of every example.
TEST_F(CliPoints, BundledExamplesAnalyseAsFusedSilica) {
    const fs::path examples = fs::path(MIVARO_SOURCE_DIR) / "examples";
    if (!fs::exists(examples / "fused_silica_labelled.MVR")) {
        GTEST_SKIP() << "examples not generated";
    }
    // Ei, Es, range max and min, Vi, Vs, C0, C1, Cf, solve for Es, epsilon, ...
    write("settings/curve_setup.par",
          "1141\n72\n100.000000\n50.000000\n0.07\n0.17\n24.5\n0\n0\n0\n0.75\n0\n0\n0\n15\n");
    fs::copy_file(examples / "machine_export_setup/MivaroOpenSetup.par",
                  m_dir / "settings/MivaroOpenSetup.par");
    const std::string settings = (m_dir / "settings").string();
    for (const char* file :
         {"fused_silica_labelled.MVR", "fused_silica_unlabelled.MVR", "machine_export.txt"}) {
        const RunResult points = runCli({"points", "--settings", settings, file}, examples);
        ASSERT_EQ(points.status, 0) << points.err;
        for (const char letter : {'U', 'R'}) {
            // A point a few places into the first run of the letter.
            const std::size_t at = points.out.find(std::string(",") + letter + "\n");
            ASSERT_NE(at, std::string::npos) << file << ' ' << letter;
            const std::size_t lineStart = points.out.rfind('\n', at) + 1;
            const std::size_t indexStart = points.out.find(',', lineStart) + 1;
            const int index = std::stoi(points.out.substr(indexStart)) + 5;
            const RunResult modulus = runCli({"analyse", "--settings", settings, "--point",
                                              std::to_string(index), "--action", "modulus", file},
                                             examples);
            ASSERT_EQ(modulus.status, 0) << modulus.err;
            const std::string lead = "{\"text\": \"Es =  ";
            ASSERT_EQ(modulus.out.rfind(lead, 0), 0u) << modulus.out;
            const double es = std::strtod(modulus.out.c_str() + lead.size(), nullptr);
            EXPECT_NEAR(es, 72.0, 1.5) << file << ' ' << letter << ": " << modulus.out;
            const std::size_t er = modulus.out.find("\"Er\": ");
            ASSERT_NE(er, std::string::npos);
            EXPECT_NEAR(std::strtod(modulus.out.c_str() + er + 6, nullptr), 69.6, 1.5)
                << file << ' ' << letter;
        }
    }
}

}  // namespace

#include "analysis/analysis_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/file_size_limit.h"

namespace mivaro {
namespace {

namespace fs = std::filesystem;

class SettingsFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::path(MIVARO_BINARY_DIR) / "analysis_settings_test" /
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    std::string dir() const { return m_dir.string() + "/"; }
    std::string read(const char* name) const {
        std::ifstream in(m_dir / name);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void write(const char* name, const std::string& content) const { std::ofstream(m_dir / name) << content; }

    fs::path m_dir;
};

TEST_F(SettingsFiles, MissingFilesGiveDefaults) {
    EXPECT_EQ(readModulusSettings(dir()), ModulusSettings{});
    EXPECT_EQ(readHardnessSettings(dir()), HardnessSettings{});
    EXPECT_EQ(HardnessSettings{}.formula, -1);
}

TEST_F(SettingsFiles, ModulusFileHasFifteenLinesInItsOrder) {
    ModulusSettings s;
    s.Ei = "1140";
    s.Es = "71.25";
    s.forceMaxPercent = 90;
    s.forceMinPercent = 40.5f;
    s.Vi = "0.07";
    s.Vs = "0.3";
    s.C0 = "24.5";
    s.C1 = "100";
    s.Cf = "0.1";
    s.solveFor = 2;
    s.epsilon = "0.75";
    s.zeroStartDepth = 1;
    s.topPercent = "90";
    s.bottomPercent = "10";
    s.sectionSizePercent = "12.5";
    ASSERT_TRUE(writeModulusSettings(dir(), s));
    EXPECT_EQ(read("curve_setup.par"),
              "1140\n71.25\n90.000000\n40.500000\n0.07\n0.3\n24.5\n100\n0.1\n2\n0.75\n1\n90\n10\n12.5\n");
    EXPECT_EQ(readModulusSettings(dir()), s);
    EXPECT_FALSE(fs::exists(m_dir / "curve_setup.par.tmp"));
}

TEST_F(SettingsFiles, HardnessFileHasEightLinesInItsOrder) {
    HardnessSettings s;
    s.C0 = "24.5";
    s.C1 = "3.25";
    s.D0 = "26.43";
    s.D1 = "0";
    s.Cf = "0.2";
    s.formula = 1;
    s.epsilon = "0.75";
    s.includeHoldTime = 1;
    ASSERT_TRUE(writeHardnessSettings(dir(), s));
    EXPECT_EQ(read("hardness_setup.par"), "24.5\n3.25\n26.43\n0\n0.2\n1\n0.75\n1\n");
    EXPECT_EQ(readHardnessSettings(dir()), s);
}

TEST_F(SettingsFiles, TextValuesAreSingleWords) {
    ModulusSettings s;
    s.Es = "70 GPa";  // only the first word survives, the lines after it stay in place
    s.C1 = "";        // a blank value is stored as 0 instead of an empty line
    ASSERT_TRUE(writeModulusSettings(dir(), s));
    const ModulusSettings back = readModulusSettings(dir());
    EXPECT_EQ(back.Es, "70");
    EXPECT_EQ(back.C1, "0");
    EXPECT_EQ(back.Cf, s.Cf);
    EXPECT_EQ(back.sectionSizePercent, s.sectionSizePercent);
}

TEST_F(SettingsFiles, ShortOrDamagedFilesKeepDefaultsForTheRest) {
    write("curve_setup.par", "1000\n60\n80.0\n");
    ModulusSettings s = readModulusSettings(dir());
    EXPECT_EQ(s.Ei, "1000");
    EXPECT_EQ(s.Es, "60");
    EXPECT_EQ(s.forceMaxPercent, 80.0f);
    EXPECT_EQ(s.forceMinPercent, 50.0f);
    EXPECT_EQ(s.Vi, "0.07");

    // A number line that is not a number ends the reading there.
    write("hardness_setup.par", "1\n2\n3\n4\n5\nHV\n6\n1\n");
    const HardnessSettings h = readHardnessSettings(dir());
    EXPECT_EQ(h.Cf, "5");
    EXPECT_EQ(h.formula, -1);
    EXPECT_EQ(h.epsilon, "0.0");
}

TEST_F(SettingsFiles, UnwritableDirectoryIsSkippedAndOldFileSurvives) {
    EXPECT_FALSE(writeModulusSettings(dir() + "missing/", ModulusSettings{}));
    write("hardness_setup.par", "1\n2\n3\n4\n5\n0\n6\n0\n");
    HardnessSettings s;
    s.formula = 2;
    {
        test::FileSizeLimit diskFull(4);  // the disk fills up in the middle of the new file
        EXPECT_FALSE(writeHardnessSettings(dir(), s));
    }
    EXPECT_EQ(read("hardness_setup.par"), "1\n2\n3\n4\n5\n0\n6\n0\n");
}

}  // namespace
}  // namespace mivaro

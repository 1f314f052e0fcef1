#include "curves/curve_conversion.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "curve_test_support.h"
#include "curves/curve_reader.h"
#include "curves/settings_files.h"

namespace mivaro {
namespace {

TEST(CurveConversion, OutputNames) {
    const struct {
        const char* path;
        const char* title;
        const char* output;
    } cases[] = {
        {"/data/run.1.txt", "run", "/data/run.MVR"},
        {"/da.ta/a.csv", "a", "/da.ta/a.MVR"},
        {"/data/noextension", "noextension", "/data/noextension.MVR"},
        {"plain.TXT", "plain", "plain.MVR"},
        {"/d/.hidden", "", "/d/.MVR"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileTitle(c.path), c.title) << c.path;
        EXPECT_EQ(importOutputPath(c.path), c.output) << c.path;
    }
    std::set<std::string> taken;
    EXPECT_EQ(claimOutputPath("/d/a.MVR", taken), "/d/a.MVR");
    EXPECT_EQ(claimOutputPath("/d/./a.MVR", taken), "/d/./a_2.MVR");
    EXPECT_EQ(claimOutputPath("/d/a.MVR", taken), "/d/a_3.MVR");
    EXPECT_EQ(claimOutputPath("/d/b.MVR", taken), "/d/b.MVR");
}

class Conversion : public ::testing::Test {
  protected:
    Conversion() {
        curve.settingsDirectory = dir.dir();
        ColumnSetup setup = kStandardColumnSetup;
        setup.depthUnit = 0;
        setup.segmentColumnPresent = 0;
        dir.writeOpenSetup(setup);
    }
    std::string exportFile(const std::string& name, double force) {
        std::string text = "depth,force,time\n";
        for (int k = 1; k <= 5; ++k) {
            text +=
                std::to_string(100 * k) + "," + std::to_string(force * k) + "," + std::to_string(k) + "\n";
        }
        return dir.write(name, text);
    }
    IndentCurve readBack(const std::string& path) {
        IndentCurve read;
        read.settingsDirectory = dir.dir();
        EXPECT_EQ(readCurveFile(read, path, messages), ReadOutcome::Read) << path;
        return read;
    }

    test::TempDir dir;
    test::RecordingMessages messages;
    IndentCurve curve;
};

TEST_F(Conversion, CollidingNamesKeepBothCurves) {
    curve.names = {exportFile("a.txt", 1), exportFile("a.csv", 2), exportFile("b.txt", 3)};
    const ConversionReport report = convertCurveFiles(curve, messages);
    const std::vector<std::string> expected = {dir.path("a.MVR"), dir.path("a_2.MVR"), dir.path("b.MVR")};
    EXPECT_EQ(report.written, expected);
    EXPECT_EQ(curve.names, expected);
    EXPECT_DOUBLE_EQ(readBack(dir.path("a.MVR")).force[0], 1);
    EXPECT_DOUBLE_EQ(readBack(dir.path("a_2.MVR")).force[0], 2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(dir.path("a.csv") + "\n    -> " + dir.path("a_2.MVR")),
              std::string::npos);
}

TEST_F(Conversion, UnwritableOutputIsReportedAndTheSourceKept) {
    const std::string source = exportFile("c.txt", 1);
    std::filesystem::create_directory(dir.path("c.MVR"));  // a folder where the file belongs
    curve.names = {source};
    const ConversionReport report = convertCurveFiles(curve, messages);
    EXPECT_TRUE(report.written.empty());
    EXPECT_EQ(curve.names, std::vector<std::string>{source});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Error");
    EXPECT_NE(messages.shown[0].text.find("is a folder"), std::string::npos);
}

TEST_F(Conversion, ColumnErrorLeavesOnlyThatFileOut) {
    curve.names = {exportFile("ok.txt", 1), dir.write("bad.txt", "h\n1234 5678\n"),
                   exportFile("late.txt", 1)};
    const ConversionReport report = convertCurveFiles(curve, messages);
    EXPECT_TRUE(report.columnError);
    const std::vector<std::string> converted = {dir.path("ok.MVR"), dir.path("late.MVR")};
    EXPECT_EQ(report.written, converted);
    EXPECT_EQ(curve.names, converted);
    EXPECT_FALSE(std::filesystem::exists(dir.path("bad.MVR")));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(dir.path("bad.txt") + "\nline 2"), std::string::npos);
}

// Converting an export again after a change replaces the standard file it
// made the first time: one entry, the new data, no "_2" file.
TEST_F(Conversion, ReimportReplacesItsOwnStandardFile) {
    curve.names = {exportFile("run.txt", 1)};
    convertCurveFiles(curve, messages);
    ASSERT_EQ(curve.names, std::vector<std::string>{dir.path("run.MVR")});

    exportFile("run.txt", 3);  // the corrected export
    curve.names.push_back(dir.path("run.txt"));
    const ConversionReport report = convertCurveFiles(curve, messages);
    EXPECT_EQ(curve.names, std::vector<std::string>{dir.path("run.MVR")});
    EXPECT_EQ(report.written, std::vector<std::string>{dir.path("run.MVR")});
    EXPECT_DOUBLE_EQ(readBack(dir.path("run.MVR")).force[0], 3);
    EXPECT_FALSE(std::filesystem::exists(dir.path("run_2.MVR")));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Conversion, SaveAsNamesNoticesAndCollisions) {
    test::TempDir other;
    const std::string test = dir.write("test.MVR", "h\n1,1,0,LOAD\n2,2,1,LOAD\n3,3,2,UNLOAD\n");
    const std::string probe = dir.write("probe.MVR", "h\n1,5,0,LOAD\n2,6,1,LOAD\n3,7,2,LOAD\n");
    const std::string twin = other.write("test.MVR", "h\n4,1,0,LOAD\n5,2,1,LOAD\n6,3,2,LOAD\n");
    curve.names = {test, probe, twin};
    const auto written = saveCurveFilesAs(curve, other.path("result.MVR"), messages);
    const std::vector<std::string> expected = {other.path("result_test.MVR"), other.path("result_probe.MVR"),
                                               other.path("result_test_2.MVR")};
    EXPECT_EQ(written, expected);
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[0].text, expected[0]);
    EXPECT_EQ(messages.shown[0].caption, kFileSavedAsCaption);
    EXPECT_EQ(messages.shown[2].caption, "Message");
    EXPECT_EQ(messages.shown[3].text, expected[2]);
    EXPECT_DOUBLE_EQ(readBack(expected[2]).depth[0], 4000);
    EXPECT_EQ(readBack(expected[0]).segment[2], UNLOAD);
    EXPECT_EQ(curve.names, (std::vector<std::string>{test, probe, twin}));

    // The chosen title equal to the source title: no "_", written in the chosen folder.
    curve.names = {test};
    messages.shown.clear();
    EXPECT_EQ(saveCurveFilesAs(curve, other.path("test.MVR"), messages),
              std::vector<std::string>{other.path("test.MVR")});
    EXPECT_DOUBLE_EQ(readBack(other.path("test.MVR")).depth[0], 1000);
}

TEST_F(Conversion, SaveAsKeepsTheNameListAfterAColumnError) {
    ColumnSetup setup = kStandardColumnSetup;
    setup.separatorKind = 1;
    dir.writeOpenSetup(setup);
    const std::string good = dir.write("good.MVR", "h\n1,1,0,LOAD\n2,2,1,LOAD\n3,3,2,LOAD\n");
    const std::string bad = dir.write("bad.txt", "h\n1,1,1\n");
    curve.names = {good, bad, good};
    const auto written = saveCurveFilesAs(curve, dir.path("out.MVR"), messages);
    EXPECT_EQ(written, std::vector<std::string>{dir.path("out_good.MVR")});
    EXPECT_EQ(curve.names, (std::vector<std::string>{good, bad, good}));
    EXPECT_FALSE(std::filesystem::exists(dir.path("out_bad.MVR")));
}

}  // namespace
}  // namespace mivaro

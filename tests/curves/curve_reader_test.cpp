#include "curves/curve_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

#include "curve_test_support.h"
#include "curves/line_reader.h"
#include "curves/settings_files.h"

namespace mivaro {
namespace {

std::string letters(const IndentCurve& curve) {
    return std::string(curve.segment.begin(), curve.segment.end());
}

class CurveReader : public ::testing::Test {
  protected:
    CurveReader() { curve.settingsDirectory = dir.dir(); }

    ReadOutcome read(const std::string& name, const std::string& content) {
        return readCurveFile(curve, dir.write(name, content), messages);
    }

    test::TempDir dir;
    test::RecordingMessages messages;
    IndentCurve curve;
};

TEST_F(CurveReader, ReadsStandardCurveFiles) {
    ASSERT_EQ(read("a.MVR",
                   "Depth(um),Force(mN),Time(s),Segment\r\n"
                   "1.234500e+00,5.000000e-01,2.000000,LOAD\r\n"
                   "2.0E-001,1.0,2.5,top_hold\r\n"  // lower case and three exponent digits
                   "0.3,1.1,3,TOP_HOLD,extra\r\n"   // a label that is not the last column matches nothing
                   "0.25,0.6,3.5,UNLOAD \r\n"       // nor does one with a trailing space
                   "0.2,0.5,4,UNLOAD\r\n"
                   "0.19,0.4,4.5,BUTTOM_HOLD\r\n"  // our writer's spelling
                   "0.18,0.45,5,BOTTOM_HOLD\r\n"
                   "0.21,0.6,5.5,RELOAD\r\n"
                   "0.22,0.7,6,SOMETHING\r\n"),
              ReadOutcome::Read);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(curve.pointCount(), 9);
    EXPECT_EQ(letters(curve), "LTTTUBBRR");
    EXPECT_DOUBLE_EQ(curve.depth[0], 1234.5);
    EXPECT_DOUBLE_EQ(curve.force[0], 0.5);
    EXPECT_DOUBLE_EQ(curve.time[0], 2.0);
    EXPECT_DOUBLE_EQ(curve.depth[1], 200.0);
    EXPECT_EQ(curve.currentFilePath, dir.path("a.MVR"));
    EXPECT_EQ(curve.columnSetup, kStandardColumnSetup);
}

TEST_F(CurveReader, DropsRowsWithoutDepth) {
    // Unmarked text lines read as depth 0 and vanish, as do depths <= 0.
    ASSERT_EQ(read("b.MVR", "h\n0,1,1,LOAD\n-0.1,1,1,LOAD\nsome,comment,,\n0.1,1,1,LOAD\nnan,1,1,LOAD\n"),
              ReadOutcome::Read);
    ASSERT_EQ(curve.pointCount(), 1);
    EXPECT_DOUBLE_EQ(curve.depth[0], 100);

    ASSERT_EQ(read("c.MVR", "h\n0,1,1,LOAD\n-5,2,2,LOAD\n0.0,3,3,LOAD\n"), ReadOutcome::Read);
    EXPECT_EQ(curve.pointCount(), 0);
}

TEST_F(CurveReader, ReadsImportFilesWithTheStoredSetup) {
    struct Case {
        const char* what;
        ColumnSetup setup;
        std::string separatorText;
        std::string content;
        double depth, force, time;
    };
    ColumnSetup tab;
    tab.headerLines = 2;
    tab.separatorKind = 1;
    tab.depthUnit = 0;
    tab.forceUnit = 0;
    tab.segmentColumnPresent = 0;
    ColumnSetup spaces = tab;
    spaces.headerLines = 0;
    spaces.separatorKind = 2;
    spaces.displacementColumn = 3;  // "a  b": every space ends a column
    spaces.forceColumn = 4;
    spaces.timeColumn = 1;
    spaces.depthUnit = 2;
    spaces.forceUnit = 2;
    ColumnSetup comma = tab;
    comma.separatorKind = 3;
    comma.decimalComma = 1;
    comma.timeColumnPresent = 0;
    comma.headerLines = 0;
    comma.depthUnit = 3;
    comma.forceUnit = 7;  // unknown unit: factor 1
    ColumnSetup oddUnits = tab;
    oddUnits.depthUnit = 9;  // unknown unit: factor 1000
    oddUnits.displacementColumn = 0;
    const Case cases[] = {
        {"tab, nm, uN, two header lines", tab, ";", "Depth\tLoad\tTime\n\n12.5\t250\t1.5\n", 12.5, 0.25, 1.5},
        {"runs of spaces count empty columns", spaces, ";", "7  0.001 0.002\n", 1000, 2, 7},
        {"decimal comma with another separator", comma, ";", "1,5;2,5\n", 15000000, 2.5, 0},
        {"unknown units and column 0", oddUnits, ";", "h\nh\n0.5\t3\t4\n", 500, 0.003, 4},
    };
    for (const Case& c : cases) {
        ColumnSetup expected = c.setup;
        expected.otherSeparator = c.separatorText.front();
        dir.writeOpenSetup(c.setup, c.separatorText);
        ASSERT_EQ(read("import.txt", c.content), ReadOutcome::Read) << c.what;
        ASSERT_EQ(curve.pointCount(), 1) << c.what;
        EXPECT_DOUBLE_EQ(curve.depth[0], c.depth) << c.what;
        EXPECT_DOUBLE_EQ(curve.force[0], c.force) << c.what;
        EXPECT_DOUBLE_EQ(curve.time[0], c.time) << c.what;
        EXPECT_EQ(curve.columnSetup, expected) << c.what;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CurveReader, KeepsThePreviousSetupWhenTheSettingsFileIsMissingOrGarbled) {
    ColumnSetup tab = kStandardColumnSetup;
    tab.separatorKind = 1;
    tab.segmentColumnPresent = 0;
    tab.timeColumnPresent = 0;
    curve.columnSetup = tab;
    ASSERT_EQ(read("x.txt", "h\n1.0\t2.0\n"), ReadOutcome::Read);
    EXPECT_EQ(curve.columnSetup, tab);
    dir.write("MivaroOpenSetup.par", "1\n1\n2\n0\n0\n1\n7\n;\n");  // truncated, kind 7
    ASSERT_EQ(read("x.txt", "h\n1.0\t2.0\n"), ReadOutcome::Read);
    EXPECT_EQ(curve.columnSetup, tab);
    EXPECT_EQ(curve.pointCount(), 1);

    // A lower-case extension is no standard curve file: the stored setup applies.
    ASSERT_EQ(read("y.mvr", "h\n1.0\t2.0\n"), ReadOutcome::Read);
    EXPECT_EQ(curve.columnSetup, tab);
    // ".MVR" anywhere in the path selects the fixed setup, whatever is stored.
    ASSERT_EQ(read("z.MVR.txt", "h\n1,2,3,LOAD\n"), ReadOutcome::Read);
    EXPECT_EQ(curve.columnSetup, kStandardColumnSetup);
}

TEST_F(CurveReader, ReportsColumnErrorsWithFileAndLine) {
    struct Case {
        const char* line;
        ColumnSetup setup;
        const char* text;
        int lineNumber = 4;  // the line the error is reported on
    };
    ColumnSetup far = kStandardColumnSetup;
    far.separatorKind = 1;
    far.timeColumnPresent = 0;
    far.segmentColumnPresent = 0;
    ColumnSetup farForce = far;
    far.displacementColumn = 3;
    farForce.forceColumn = 5;
    ColumnSetup farTime = kStandardColumnSetup;
    farTime.separatorKind = 1;
    farTime.segmentColumnPresent = 0;
    farTime.timeColumn = 4;
    ColumnSetup farSegment = farTime;
    farSegment.timeColumnPresent = 0;
    farSegment.segmentColumnPresent = 1;
    farSegment.segmentColumn = 6;
    ColumnSetup commaBoth = kStandardColumnSetup;  // comma separator and decimal comma together
    commaBoth.decimalComma = 1;
    const Case cases[] = {
        {"1.0\t2.0\n", far, kDisplacementColumnError},
        {"1.0\t2.0\t3.0\n", farForce, kForceColumnError},
        {"1.0\t2.0\t3.0\n", farTime, kTimeColumnError},
        {"1\t2\t3\tLOAD\n", farSegment, kSegmentColumnError},
        {"1,5,2,5,3,LOAD\n", commaBoth, kForceColumnError, 2},  // already the first data line
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        dir.writeOpenSetup(c.setup);
        curve.names = {"a", "b"};
        curve.currentFilePath = "before";
        ASSERT_EQ(read("bad.txt", std::string("header\n1\t2\t3\tLOAD\t5\t6\n\n") + c.line),
                  ReadOutcome::ColumnError);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, std::string(c.text) + "\n" + dir.path("bad.txt") + "\nline " +
                                              std::to_string(c.lineNumber));
        EXPECT_EQ(messages.shown[0].caption, "Error");
        EXPECT_EQ(curve.pointCount(), 0);
        EXPECT_TRUE(curve.currentFilePath.empty());
        EXPECT_EQ(curve.names, (std::vector<std::string>{"a", "b"}));  // the callers leave the file out
    }
}

TEST_F(CurveReader, UnlabelledCurvesGetLettersFromTheForce) {
    const std::string unlabelled = "h\n0.1,1\n0.2,2\n0.3,3\n0.31,2.9\n0.3,2.7\n0.2,1\n";
    ColumnSetup noSegment = kStandardColumnSetup;
    noSegment.segmentColumnPresent = 0;
    noSegment.timeColumnPresent = 0;
    dir.writeOpenSetup(noSegment);
    dir.write("setup.par", "0.500000\n");
    ASSERT_EQ(read("u.csv", unlabelled), ReadOutcome::Read);
    EXPECT_FLOAT_EQ(curve.forceInstability, 0.5f);
    EXPECT_EQ(letters(curve), "LLTTTU");

    // The force instability comes from setup.par before every file.
    dir.write("setup.par", "0.050000\n");
    ASSERT_EQ(read("u.csv", unlabelled), ReadOutcome::Read);
    EXPECT_FLOAT_EQ(curve.forceInstability, 0.05f);
    EXPECT_EQ(letters(curve), "LLTTUU");

    // A missing setup.par leaves the value as it was.
    std::filesystem::remove(dir.path("setup.par"));
    curve.forceInstability = 0.5f;
    ASSERT_EQ(read("u.csv", unlabelled), ReadOutcome::Read);
    EXPECT_FLOAT_EQ(curve.forceInstability, 0.5f);
}

TEST_F(CurveReader, RelabelsOnlyWhenTheThirdPointHasNoLetter) {
    dir.write("setup.par", "0.500000\n");
    // Labels first recognised at the fourth point: the whole curve is relabelled.
    ASSERT_EQ(read("late.MVR", "h\n0.1,1,0,x\n0.2,2,0,x\n0.3,3,0,x\n0.31,2.9,0,UNLOAD\n0.2,1,0,UNLOAD\n"),
              ReadOutcome::Read);
    EXPECT_EQ(letters(curve), "LLTTU");
    // A letter at the third point keeps the file's letters, 'X' included.
    ASSERT_EQ(read("early.MVR", "h\n0.1,1,0,x\n0.2,2,0,UNLOAD\n0.3,3,0,x\n0.31,2.9,0,x\n"),
              ReadOutcome::Read);
    EXPECT_EQ(letters(curve), "XUUU");
    // Fewer than three points: relabelled when none has a letter.
    ASSERT_EQ(read("two.MVR", "h\n0.1,1,0,x\n0.2,2,0,x\n"), ReadOutcome::Read);
    EXPECT_EQ(letters(curve), "LT");
    ASSERT_EQ(read("two.MVR", "h\n0.1,1,0,x\n0.2,2,0,LOAD\n"), ReadOutcome::Read);
    EXPECT_EQ(letters(curve), "XL");
}

TEST_F(CurveReader, UnopenableFilesGiveNoPointsAndKeepThePath) {
    ASSERT_EQ(read("ok.MVR", "h\n0.1,1,1,LOAD\n"), ReadOutcome::Read);
    EXPECT_EQ(readCurveFile(curve, dir.path("missing.MVR"), messages), ReadOutcome::NotOpened);
    EXPECT_EQ(curve.pointCount(), 0);
    EXPECT_EQ(curve.currentFilePath, dir.path("ok.MVR"));
    // A directory opens on some systems but cannot be read: the same.
    std::filesystem::create_directory(dir.path("folder.MVR"));
    EXPECT_EQ(readCurveFile(curve, dir.path("folder.MVR"), messages), ReadOutcome::NotOpened);
    EXPECT_EQ(curve.pointCount(), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CurveReader, ReadsTheSameInADecimalCommaLocale) {
    const std::string content = "h\n1.5e-1,2.25,0.125,LOAD\n0.3,-4.5E+1,1.75,UNLOAD\n";
    ASSERT_EQ(read("a.MVR", content), ReadOutcome::Read);
    const IndentCurve inC = curve;
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/install-deps generates it)";
    }
    ASSERT_TRUE(writeForceInstability(dir.dir(), 0.75f));
    const ReadOutcome outcome = read("a.MVR", content);
    std::string written;
    readWholeFile(dir.path("setup.par"), written);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(outcome, ReadOutcome::Read);
    EXPECT_EQ(curve.depth, inC.depth);
    EXPECT_EQ(curve.force, inC.force);
    EXPECT_EQ(curve.time, inC.time);
    EXPECT_EQ(written, "0.750000\n");
    EXPECT_FLOAT_EQ(curve.forceInstability, 0.75f);
}

TEST_F(CurveReader, ReadsReadOnlyFilesAndLongPaths) {
    const std::string file = dir.write("ro.MVR", "h\n0.1,1,1,LOAD\n0.2,2,2,LOAD\n");
    std::filesystem::permissions(file,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    ASSERT_EQ(readCurveFile(curve, file, messages), ReadOutcome::Read);
    EXPECT_EQ(curve.pointCount(), 2);

    // A path far beyond 300 characters, settings directory included.
    std::string deep = dir.dir();
    for (int k = 0; k < 12; ++k) {
        deep += std::string(40, static_cast<char>('a' + k)) + "/";
    }
    std::filesystem::create_directories(deep);
    std::ofstream(deep + "long.MVR") << "h\n0.1,1,1,LOAD\n";
    std::ofstream(deep + "setup.par") << "0.250000\n";
    curve.settingsDirectory = deep;
    ASSERT_EQ(readCurveFile(curve, deep + "long.MVR", messages), ReadOutcome::Read);
    EXPECT_EQ(curve.pointCount(), 1);
    EXPECT_EQ(curve.currentFilePath, deep + "long.MVR");
    EXPECT_FLOAT_EQ(curve.forceInstability, 0.25f);
}

TEST_F(CurveReader, LongLinesStayWhole) {
    // Were the line cut at 300 characters, its tail "0.5,1,1,LOAD" would become a point.
    const std::string longLine =
        "0," + std::string(99990, ' ') + ",1," + std::string(300, 'x') + "0.5,1,1,LOAD";
    const std::string file = dir.write("long.MVR", "h\n" + longLine + "\n0.1,2,2,LOAD\n");
    ASSERT_EQ(readCurveFile(curve, file, messages), ReadOutcome::Read);
    ASSERT_EQ(curve.pointCount(), 1);
    EXPECT_DOUBLE_EQ(curve.force[0], 2);
    EXPECT_GE(countDataLines(file), curve.pointCount());
}

TEST_F(CurveReader, SurvivesFilesThatAreNotCurves) {
    std::string binary;
    for (int k = 0; k < 70000; ++k) {
        binary += static_cast<char>((k * 7919) % 256);
    }
    const std::string contents[] = {"",
                                    "h",
                                    "only\nheader\nlines\n",
                                    "\n\n\n\n",
                                    binary,
                                    std::string(5000, ','),
                                    std::string(3000, '\r')};
    for (const std::string& content : contents) {
        messages.shown.clear();
        const ReadOutcome outcome = read("odd.MVR", content);
        EXPECT_NE(outcome, ReadOutcome::NotOpened);
        EXPECT_GE(countDataLines(dir.path("odd.MVR")), curve.pointCount());
        for (const double depth : curve.depth) {
            EXPECT_GT(depth, 0);
        }
    }
}

TEST_F(CurveReader, ReadsAMillionLines) {
    std::string content = "Depth(um),Force(mN),Time(s),Segment\n";
    content.reserve(30000000);
    for (int k = 1; k <= 1000000; ++k) {
        content += std::to_string(k * 1e-4) + ",1.5,2," + (k <= 500000 ? "LOAD\n" : "UNLOAD\n");
    }
    ASSERT_EQ(read("big.MVR", content), ReadOutcome::Read);
    ASSERT_EQ(curve.pointCount(), 1000000);
    EXPECT_EQ(curve.segment[499999], 'L');
    EXPECT_EQ(curve.segment[500000], 'U');
    EXPECT_NEAR(curve.depth.back(), 100000, 1e-6);
}

// The real exports of test machines, each with the setup its layout needs.
struct ExportCase {
    const char* file;
    ColumnSetup setup;
    int points;          // rows with depth > 0
    double peakForceMn;  // highest force of the file
    double peakDepthNm;
};

ColumnSetup exportSetup(int header, int depthCol, int forceCol, int timeCol, int forceUnit) {
    ColumnSetup s;
    s.headerLines = header;
    s.displacementColumn = depthCol;
    s.forceColumn = forceCol;
    s.timeColumn = timeCol;
    s.depthUnit = 0;
    s.forceUnit = forceUnit;
    s.separatorKind = 1;
    s.segmentColumnPresent = 0;
    s.timeColumnPresent = 1;
    return s;
}

TEST(InstrumentExports, ReadWithTheirSetups) {
    const ExportCase cases[] = {
        {"hysitron_triboscan_RobinSteel0000LC.txt", exportSetup(4, 1, 2, 3, 0), 5015, 3.00003, 159.745},
        // Only the test block: its column line is line 1423.
        {"hysitron_highload_Exp-50mN_0000.hld", exportSetup(1423, 2, 3, 1, 0), 426, 50.2137, 568.333},
        {"hysitron_ti_nanodent_experiment_a.hld", exportSetup(13, 2, 3, 1, 0), 2395, 3.51744, 118.014},
        {"micromaterials_nanotest_1000nmXX_1.txt", exportSetup(0, 2, 3, 1, 1), 871, 123.332821, 1018.606008},
    };
    if (!std::filesystem::exists(test::sharedExport(cases[0].file))) {
        GTEST_SKIP() << "the shared instrument exports are not at " << MIVARO_SHARED_TESTDATA;
    }
    for (const ExportCase& c : cases) {
        test::TempDir dir;
        test::RecordingMessages messages;
        dir.writeOpenSetup(c.setup);
        IndentCurve curve;
        curve.settingsDirectory = dir.dir();
        ASSERT_EQ(readCurveFile(curve, test::sharedExport(c.file), messages), ReadOutcome::Read) << c.file;
        EXPECT_TRUE(messages.shown.empty()) << c.file;
        EXPECT_EQ(curve.pointCount(), c.points) << c.file;
        EXPECT_NEAR(*std::max_element(curve.force.begin(), curve.force.end()), c.peakForceMn, 1e-4) << c.file;
        EXPECT_NEAR(*std::max_element(curve.depth.begin(), curve.depth.end()), c.peakDepthNm, 1e-3) << c.file;
        EXPECT_GE(countDataLines(test::sharedExport(c.file)), curve.pointCount());
        // No segment column: every point is lettered from the force, the peak on the top hold.
        const auto peak = std::max_element(curve.force.begin(), curve.force.end()) - curve.force.begin();
        EXPECT_EQ(curve.segment[static_cast<std::size_t>(peak)], 'T') << c.file;
        EXPECT_EQ(curve.segment[0], 'L') << c.file;
    }
}

}  // namespace
}  // namespace mivaro

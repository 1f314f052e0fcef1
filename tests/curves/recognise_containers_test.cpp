// Workbooks and archives through the recogniser, and the standard curve files
// that converting recognised exports writes.
#include <gtest/gtest.h>
#include <zip.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "curve_test_support.h"
#include "curves/recognise/recognised_conversion.h"
#include "curves/recognise/recogniser.h"
#include "curves/recognise/segments_from_shape.h"
#include "curves/recognise/workbook_segments.h"

namespace mivaro::recognise {
namespace {

using test::RecordingMessages;
using test::sharedExport;
using test::TempDir;

struct Read {
    RecogniseSummary summary;
    std::vector<RecognisedIndent> indents;
};

Read readAll(const std::string& path) {
    Read read;
    read.summary = recogniseFile(path, [&](RecognisedIndent& indent) {
        read.indents.push_back(std::move(indent));
        return true;
    });
    return read;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A NanoTest export: time, depth (nm), load (mN), no header; loading, hold, unloading.
std::string nanoTestText(double peakMn) {
    std::string text;
    double t = 0;
    const auto row = [&](double depth, double load) {
        char line[96];
        std::snprintf(line, sizeof line, "%.3f\t%.4f\t%.5f\r\n", t, depth, load);
        text += line;
        t += 0.1;
    };
    for (int i = 1; i <= 60; ++i) {
        const double load = peakMn * i / 60.0;
        row(1000 * std::sqrt(load / peakMn), load);
    }
    for (int i = 0; i < 20; ++i) {
        row(1000 + i * 0.5, peakMn);
    }
    for (int i = 1; i <= 50; ++i) {
        const double load = peakMn * (1 - i / 50.0 * 0.9);
        row(700 + 310 * std::pow(load / peakMn, 0.7), load);
    }
    return text;
}

std::string makeZip(const std::string& path,
                    const std::vector<std::pair<std::string, std::string>>& members) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    for (const auto& [name, bytes] : members) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
    }
    zip_close(archive);
    return path;
}

// "Load Segment Type|p|p|Hold Segment Type|p": markers and points ("p") in row order.
TEST(WorkbookSegments, MarkersGiveLettersOrLeaveThemToTheShape) {
    struct Case {
        const char* rows;
        const char* letters;
        bool complete;
    };
    const Case cases[] = {
        {"Load Segment Type|p|p|Hold Segment Type|p|Unload From Peak Segment Type|p|p|"
         "Thermal Drift Hold Segment|p|END|p",
         "LLTUUBB", true},
        {"Load Segment Type|p|Unload From Peak Segment Type|p|Load Segment Type|p|Hold Segment Type|p|"
         "Unload From Peak Segment Type|p|Hold Segment Type|p",
         "LURTUB", true},
        {"p|Load Segment Type|p", "XL", false},                 // rows before any marker
        {"Load Segment Type|p|Cycle 2 Marker|p", "LL", false},  // a marker this reading does not know
        {"Thermal Drift Hold Segment|p|Load Segment Type|p", "XL", false},  // drift hold before loading
    };
    for (const Case& c : cases) {
        WorkbookSegments segments;
        std::stringstream rows(c.rows);
        for (std::string cell; std::getline(rows, cell, '|');) {
            if (cell == "p") {
                segments.point();
            } else {
                segments.marker(cell);
            }
        }
        EXPECT_EQ(segments.letters(), c.letters) << c.rows;
        EXPECT_EQ(segments.complete(), c.complete) << c.rows;
    }
}

TEST(IndentOutputPath, OneFileForOneIndentNamedFilesForSeveral) {
    struct Case {
        const char* source;
        std::string indent;
        int number;
        bool several;
        std::string expected;
    };
    const Case cases[] = {
        {"/d/run.1.txt", "", 1, false, "/d/run.MVR"},
        {"/d/run.1.txt", "ignored", 1, false, "/d/run.MVR"},
        {"/d/FS_XP.xls", "Test 001", 1, true, "/d/FS_XP_Test_001.MVR"},
        {"/d/multi.zip", "1000nmXX 1", 3, true, "/d/multi_1000nmXX_1.MVR"},
        {"/d/multi.zip", "", 3, true, "/d/multi_3.MVR"},
        {"/d.x/a.zip", "b/c.d:\xC2\xB5", 1, true, "/d.x/a_b_c_d___.MVR"},
        {"/d/a.zip", std::string(300, 'n'), 1, true,
         "/d/a_" + std::string(80, 'n') + ".MVR"},  // a name the file system takes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(indentOutputPath(c.source, c.indent, c.number, c.several), c.expected) << c.source;
    }
}

TEST(RealContainers, TheWorkbookAndTheArchiveGiveEveryIndentLabelled) {
    const std::string workbook = sharedExport("agilent_xp_fused_silica_FS_XP.xls");
    const std::string archive = sharedExport("micromaterials_multipleIndentations.zip");
    if (!std::filesystem::exists(workbook) || !std::filesystem::exists(archive)) {
        GTEST_SKIP() << "the shared instrument exports are not here: " << workbook;
    }
    const Read xls = readAll(workbook);
    EXPECT_TRUE(xls.summary.recognised);
    EXPECT_EQ(xls.summary.format, "KLA/Agilent Nano Indenter workbook");
    EXPECT_EQ(xls.summary.error, "");
    ASSERT_EQ(xls.indents.size(), 9u);
    EXPECT_EQ(xls.indents.front().name, "Test 009");
    for (const RecognisedIndent& indent : xls.indents) {
        EXPECT_EQ(indent.segmentsFrom, SegmentSource::Labels) << indent.name;
        // Loading, the top hold, unloading and the drift hold, each once and in order.
        std::string order;
        for (const char c : indent.segments) {
            if (order.empty() || order.back() != c) {
                order += c;
            }
        }
        EXPECT_EQ(order, "LTUB") << indent.name;
        EXPECT_LT(indent.depthNm.front(), 0) << indent.name;  // the approach, before contact
        EXPECT_TRUE(indent.known.depthDriftCorrected);
    }
    const RecognisedIndent& first = xls.indents.back();  // "Test 001"
    EXPECT_EQ(first.name, "Test 001");
    EXPECT_EQ(first.depthNm.size(), 1521u);  // every row with numbers, END's row has none
    EXPECT_DOUBLE_EQ(first.known.driftNmPerS.value_or(0), 0.007);
    EXPECT_DOUBLE_EQ(first.known.poissonRatio.value_or(0), 0.18);
    const std::vector<double> area = first.known.areaCoefficients.value_or(std::vector<double>(6, 1e9));
    const double expectedArea[] = {24.6954, 395.77, -16.1316, 0, 0, 0};
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_NEAR(area.at(k), expectedArea[k], 1e-3) << "C" << k;
    }
    EXPECT_NEAR(first.xUm.value_or(0), 113010.6, 0.1);
    EXPECT_NEAR(first.yUm.value_or(0), 40467.0, 0.1);

    const Read zip = readAll(archive);
    EXPECT_EQ(zip.summary.error, "");
    EXPECT_EQ(zip.summary.format.rfind("Zip archive of Micromaterials NanoTest text", 0), 0u)
        << zip.summary.format;
    ASSERT_EQ(zip.indents.size(), 39u);
    EXPECT_EQ(zip.indents.front().name, "1000nmXX 1");
    for (const RecognisedIndent& indent : zip.indents) {
        EXPECT_NE(indent.segments.find('U'), std::string::npos) << indent.name;
        EXPECT_NE(indent.name.find("nmXX "), std::string::npos) << indent.name;
    }
}

TEST(BrokenContainers, AreNamedAndGiveNothingHalfRead) {
    TempDir dir;
    const std::string good = nanoTestText(100);
    const std::string zipPath =
        makeZip(dir.path("whole.zip"), {{"a 1 0 0.txt", good}, {"a 2 5 0.txt", good}});
    const std::string zipBytes = slurp(zipPath);
    struct Case {
        std::string file;
        std::size_t indents;
        std::vector<std::string> inMessage;
    };
    std::vector<Case> cases = {
        {dir.write("cut.zip", zipBytes.substr(0, zipBytes.size() / 2)), 0, {"cut.zip", "damaged"}},
        {dir.write("bad.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(3000, 'x')),
         0,
         {"bad.xls", "workbook cannot be read"}},
        {makeZip(dir.path("mixed.zip"), {{"a 1 0 0.txt", good}, {"notes.txt", "no numbers here\n"}}),
         1,
         {"mixed.zip", "notes.txt", "left out"}},
    };
    // A workbook whose test sheets lost their channels: the real one with the
    // channel names changed in place (same length, so the workbook stays whole).
    const std::string workbook = sharedExport("agilent_xp_fused_silica_FS_XP.xls");
    if (std::filesystem::exists(workbook)) {
        std::string bytes = slurp(workbook);
        for (const std::string name : {"Displacement Into Surface", "Load On Sample"}) {
            std::string changed = name;
            changed[0] = 'Q';
            for (std::size_t at = bytes.find(name); at != std::string::npos; at = bytes.find(name, at + 1)) {
                bytes.replace(at, name.size(), changed);
            }
        }
        cases.push_back(
            {dir.write("nochannels.xls", bytes), 0, {"nochannels.xls", "sheet \"Test 001\"", "channels"}});
    }
    for (const Case& c : cases) {
        const Read read = readAll(c.file);
        EXPECT_TRUE(read.summary.recognised) << c.file;
        EXPECT_EQ(read.indents.size(), c.indents) << c.file;
        for (const std::string& part : c.inMessage) {
            EXPECT_NE(read.summary.error.find(part), std::string::npos) << read.summary.error;
        }
    }
}

TEST(ConvertWithRecogniser, WritesOneFilePerIndentAndKeepsGoingPastBrokenFiles) {
    TempDir dir;
    const std::string good = nanoTestText(50);
    IndentCurve curve;
    curve.settingsDirectory = dir.dir();
    curve.names = {
        makeZip(dir.path("run.zip"), {{"run/b 1 0 0.txt", good}, {"run/b 2 10 0.txt", good}}),
        dir.write("broken.zip", "PK\x03\x04 and then nothing an archive holds"),
        dir.write("single.txt", good),
    };
    RecordingMessages messages;
    std::vector<std::string> told;
    const ConversionReport report =
        convertWithRecogniser(curve, 0, messages, [&](const std::string& path) { told.push_back(path); });
    const std::vector<std::string> expected = {dir.path("run_b_1.MVR"), dir.path("run_b_2.MVR"),
                                               dir.path("single.MVR")};
    EXPECT_EQ(curve.names, expected);
    EXPECT_EQ(report.written, expected);
    EXPECT_EQ(told, expected);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("broken.zip"), std::string::npos) << messages.shown[0].text;
    EXPECT_FALSE(std::filesystem::exists(dir.path("broken.MVR")));
    // The labels are written, and the file reads back with the letters the shape gave.
    const std::string written = slurp(dir.path("run_b_1.MVR"));
    EXPECT_NE(written.find(",LOAD\r\n"), std::string::npos);
    EXPECT_NE(written.find(",UNLOAD\r\n"), std::string::npos);
}

}  // namespace
}  // namespace mivaro::recognise

// The recogniser over real exports (when the shared folder is there) and
// generated files of every text format: format, indents and segment letters,
// what the files say about the test, and broken files.
#include <gtest/gtest.h>

#include <filesystem>

#include "curves/curve_test_support.h"
#include "curves/recognise/instrument_file_generators.h"
#include "curves/recognise/nanotest_member_name.h"
#include "curves/recognise/recogniser.h"
#include "curves/recognise/segments_from_shape.h"

namespace mivaro::recognise {
namespace {

struct Read {
    RecogniseSummary summary;
    std::vector<RecognisedIndent> indents;
};

Read recogniseText(const std::string& bytes, const std::string& name) {
    Read read;
    read.summary = recogniseBytes(bytes, name, [&](RecognisedIndent& indent) {
        read.indents.push_back(std::move(indent));
        return true;
    });
    return read;
}

// "L120T40U200B30" -> "LTUB"
std::string letterOrder(const std::string& letters) {
    std::string order;
    for (const char c : letters) {
        if (order.empty() || order.back() != c) {
            order += c;
        }
    }
    return order;
}

double agreement(const std::string& letters, const std::string& truth) {
    if (letters.size() != truth.size() || truth.empty()) {
        return 0;
    }
    std::size_t same = 0;
    for (std::size_t i = 0; i < truth.size(); ++i) {
        same += letters[i] == truth[i] ? 1 : 0;
    }
    return static_cast<double>(same) / static_cast<double>(truth.size());
}

test::GeneratedCurve curve(test::CurveShape shape) {
    return test::makeCurve(shape);
}

TEST(Recogniser, GeneratedExportsOfEveryTextFormat) {
    const test::GeneratedCurve plain = curve({});
    const test::GeneratedCurve noisy = curve({.noiseMn = 0.05, .popInAtShare = 0.6});
    const test::GeneratedCurve unloadEnd = curve({.finalBottomHold = false});
    const test::GeneratedCurve threeCycles = curve({.cycles = 3, .peakMn = 300, .noiseMn = 0.5});
    struct Case {
        const char* what;
        std::string bytes;
        const char* format;
        int indents;
        std::string order;                  // letters with repeats dropped, of every indent
        const test::GeneratedCurve* truth;  // checked point by point when given
        double minAgreement;
    };
    const Case cases[] = {
        {"TriboScan, Latin-1 µ, LF", test::triboScanText(plain, "\xB5", "\n"), "Hysitron TriboScan text", 1,
         "LTUB", &plain, 1.0},
        {"TriboScan, UTF-8 µ, CR LF, blank after row 1", test::triboScanText(plain, "\xC2\xB5", "\r\n", true),
         "Hysitron TriboScan text", 1, "LTUB", &plain, 1.0},
        {"TriboScan, three cycles", test::triboScanText(threeCycles, "\xB5", "\n"), "Hysitron TriboScan text",
         1, "LTUBRTUBRTUB", &threeCycles, 1.0},
        {".hld with a segment table", test::hldText(plain, true), "Hysitron .hld", 1, "LTUB", &plain, 1.0},
        {".hld without, noise and a pop-in", test::hldText(noisy, false), "Hysitron .hld", 1, "LTUB", &noisy,
         0.95},
        {"Anton Paar, decimal comma, SegmentID", test::antonPaarText(unloadEnd),
         "Anton Paar indentation text", 1, "LTU", &unloadEnd, 1.0},
        {"Fischerscope, 3 indents of 3 cycles",
         test::fischerscopeText({threeCycles, threeCycles, threeCycles}), "Fischerscope HM2000 text", 3,
         "LTUBRTUBRTUB", &threeCycles, 0.95},
        {"NanoTest text", test::nanoTestText(noisy), "Micromaterials NanoTest text", 1, "LTUB", &noisy, 0.95},
        {"titles in brackets, ';', decimal comma, um and N",
         test::delimitedText(plain, "Sample 4\nOperator: X\n", "Time [s];Displacement [\xC2\xB5m];Force [N]",
                             ';', ',', 1e-3, 1e-3),
         "Delimited text with column titles", 1, "LTUB", &plain, 0.95},
        {"titles with underscores, TAB",
         test::delimitedText(unloadEnd, "", "t_s\th_nm\tP_mN", '\t', '.', 1, 1),
         "Delimited text with column titles", 1, "LTU", &unloadEnd, 0.95},
        {"nanoDMA table",
         "Depth (nm)\tLoad (mN)\tStorage Modulus (GPa)\tLoss Modulus "
         "(GPa)\n10\t0.1\t70\t1\n20\t0.2\t71\t1\n30\t0.3\t72\t1\n",
         "nanoDMA table (loading only)", 1, "L", nullptr, 0},
        {"CSM depth profile",
         "Displacement Into Surface (nm),Load On Sample (mN),Hardness (GPa),Modulus "
         "(GPa)\n10,0.1,9,70\n20,0.4,9,71\n"
         "30,0.9,9,72\n",
         "CSM depth profile (loading only)", 1, "L", nullptr, 0},
        {"AFM force curve", "Height (nm)\tVertical Deflection (nN)\n0\t0\n5\t1.5\n10\t4\n",
         "AFM force curve (loading only)", 1, "L", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Read read = recogniseText(c.bytes, "generated.txt");
        EXPECT_EQ(read.summary.format, c.format);
        EXPECT_EQ(read.summary.error, "");
        ASSERT_EQ(read.summary.indents, c.indents);
        ASSERT_EQ(read.indents.size(), static_cast<std::size_t>(c.indents));
        for (const RecognisedIndent& indent : read.indents) {
            EXPECT_EQ(letterOrder(indent.segments), c.order) << runLengthLetters(indent.segments);
            if (c.truth != nullptr) {
                EXPECT_GE(agreement(indent.segments, c.truth->truth), c.minAgreement)
                    << runLengthLetters(indent.segments) << " vs " << runLengthLetters(c.truth->truth);
                ASSERT_EQ(indent.depthNm.size(), c.truth->depthNm.size());
                EXPECT_NEAR(indent.depthNm[c.truth->depthNm.size() / 2],
                            c.truth->depthNm[c.truth->depthNm.size() / 2], 0.01);
            }
        }
    }
}

TEST(Recogniser, ShapeRuleOnNoisePopInsAndCycles) {
    test::GeneratedCurve loadDrop = curve({.noiseMn = 0.02});
    // A pop-in with a 40 % load drop over three points while the depth jumps forward.
    for (std::size_t i = 80; i < 83; ++i) {
        loadDrop.forceMn[i] *= 0.6;
        loadDrop.depthNm[i] += 30;
    }
    struct Case {
        const char* what;
        test::GeneratedCurve c;
        std::string order;
    };
    const Case cases[] = {
        {"plain", curve({}), "LTUB"},
        {"noisy hold and unloading", curve({.noiseMn = 0.3}), "LTUB"},
        {"pop-in at constant force", curve({.popInAtShare = 0.8}), "LTUB"},
        {"pop-in with a load drop", loadDrop, "LTUB"},
        {"five cycles", curve({.cycles = 5, .noiseMn = 0.05}), "LTUBRTUBRTUBRTUBRTUB"},
        {"ends unloading", curve({.finalBottomHold = false}), "LTU"},
        {"no hold", curve({.holdPoints = 0}), "LTUB"},
        {"drift hold at 10 %, then unloaded",
         curve({.bottomPoints = 60, .noiseMn = 0.05, .finalUnloadPoints = 10}), "LTUBU"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string letters = segmentsFromShape(c.c.forceMn, c.c.depthNm);
        EXPECT_EQ(letterOrder(letters), c.order) << runLengthLetters(letters);
        EXPECT_GE(agreement(letters, c.c.truth), 0.93) << runLengthLetters(letters);
    }
    EXPECT_EQ(segmentsFromShape(std::vector<double>{}), "");
    EXPECT_EQ(segmentsFromShape(std::vector<double>{1, 2}), "LL");
    // A fall too short to be an unloading at the very end (found by fuzzing: read past the end).
    EXPECT_EQ(segmentsFromShape(std::vector<double>{2, 7, 4}, std::vector<double>{1, 2, 3}), "LTT");
    EXPECT_EQ(runLengthLetters("LLLTUUB"), "L3T1U2B1");
}

TEST(Recogniser, WhatTheFilesSayAboutTheTest) {
    const test::GeneratedCurve plain = curve({.finalBottomHold = false});
    const Read hld = recogniseText(test::hldText(plain, false), "a.hld");
    ASSERT_EQ(hld.indents.size(), 1u);
    const KnownMetadata& h = hld.indents[0].known;
    ASSERT_TRUE(h.areaCoefficients);
    EXPECT_EQ(*h.areaCoefficients, (std::vector<double>{24.5, 100, 0, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(h.frameComplianceNmPerMn.value_or(0), 2.0);  // 0.002 nm/µN
    EXPECT_DOUBLE_EQ(h.driftNmPerS.value_or(0), 0.05);

    const Read ap = recogniseText(test::antonPaarText(plain), "a.txt");
    ASSERT_EQ(ap.indents.size(), 1u);
    const KnownMetadata& a = ap.indents[0].known;
    EXPECT_DOUBLE_EQ(a.poissonRatio.value_or(0), 0.30);
    EXPECT_DOUBLE_EQ(a.fitWindowLoPct.value_or(0), 40);
    EXPECT_DOUBLE_EQ(a.fitWindowHiPct.value_or(0), 98);
    const std::vector<std::pair<std::string, double>> apResults = {
        {"Fmax_mN", 10}, {"HIT_MPa", 134.71}, {"Er_GPa", 2.7611}, {"hmax_nm", 316.2}};
    ASSERT_EQ(a.instrumentResults.size(), apResults.size());
    for (std::size_t i = 0; i < apResults.size(); ++i) {
        EXPECT_EQ(a.instrumentResults[i].first, apResults[i].first);
        EXPECT_NEAR(a.instrumentResults[i].second, apResults[i].second, 1e-9);
    }

    const Read fs = recogniseText(test::fischerscopeText({plain, plain}), "f.txt");
    ASSERT_EQ(fs.indents.size(), 2u);
    const RecognisedIndent& second = fs.indents[1];
    EXPECT_EQ(second.name, "2");
    EXPECT_DOUBLE_EQ(second.xUm.value_or(0), 44.65);
    EXPECT_DOUBLE_EQ(second.yUm.value_or(0), 7.01);
    EXPECT_DOUBLE_EQ(second.known.fitWindowLoPct.value_or(0), 20.95);
    EXPECT_DOUBLE_EQ(second.known.fitWindowHiPct.value_or(0), 95.33);
    const std::vector<std::pair<std::string, double>> fsResults = {
        {"HIT_MPa", 8553.6}, {"hr_nm", 1053}, {"hmax_nm", 1535}, {"Welast_pJ", 1e5}};
    ASSERT_EQ(second.known.instrumentResults.size(), fsResults.size());
    for (std::size_t i = 0; i < fsResults.size(); ++i) {
        EXPECT_EQ(second.known.instrumentResults[i].first, fsResults[i].first);
        EXPECT_NEAR(second.known.instrumentResults[i].second, fsResults[i].second, 1e-6);
    }
    EXPECT_NEAR(second.depthNm[10], plain.depthNm[10], 0.01);  // µm in the file

    // A member of a NanoTest zip names its indent and position.
    const Read member = recogniseText(test::nanoTestText(plain), "run/1000nmXX 1 6958 -4555.txt");
    ASSERT_EQ(member.indents.size(), 1u);
    EXPECT_EQ(member.indents[0].name, "1000nmXX 1");
    EXPECT_EQ(member.indents[0].xUm, 6958);
    EXPECT_EQ(member.indents[0].yUm, -4555);
    const auto parsed = parseNanoTestMemberName("1000nmXX 12 6983.5 -4555.txt");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->number, 12);
    EXPECT_FALSE(parseNanoTestMemberName("indent.txt"));
    EXPECT_FALSE(parseNanoTestMemberName("a b 1.5 2 3.txt"));
}

TEST(Recogniser, BrokenFilesNameTheFileIndentAndLine) {
    const test::GeneratedCurve plain = curve({});
    std::string truncated = test::triboScanText(plain, "\xB5", "\n");
    truncated.resize(truncated.size() / 2);
    truncated.resize(truncated.rfind('\n') + 1);
    std::string hld = test::hldText(plain, false);
    hld.replace(hld.rfind("\r\n", hld.size() - 3) + 2, 0, "0.5\t12\r\n");  // a row without its force
    std::string ap = test::antonPaarText(plain);
    ap.replace(ap.find("\r\n", ap.find("Measured values") + 80) + 2, 0, "1,0\tfive\t2,0\t2,0\t1\r\n");
    std::string fs = test::fischerscopeText({plain, plain});
    fs.erase(fs.rfind("F\th\tt\r\n"), 7);  // the second indent lost its column line
    struct Case {
        std::string bytes;
        const char* format;
        std::vector<std::string> says;
    };
    const Case cases[] = {
        {truncated, "Hysitron TriboScan text", {"broken.txt:", "line", "ends after"}},
        {hld, "Hysitron .hld", {"broken.txt: line 296:", "columns"}},
        {ap, "Anton Paar indentation text", {"broken.txt:", "line", "not a number"}},
        {fs, "Fischerscope HM2000 text", {"broken.txt:", "indent 2, line", "F h t"}},
        {test::nanoTestText(plain) + "1.0\t2.0\r\n",
         "Micromaterials NanoTest text",
         {"broken.txt: indent broken, line 281:"}},
        {test::nanoTestText(plain) + "1.0\t2.0\t3.0\r\n",
         "Micromaterials NanoTest text",
         {"line 281:", "time falls"}},
        {"Depth (nm),Load (mN)\n1,2\n2,4\n3,6\n4,8\n5,9\n6,x\n",
         "Delimited text with column titles",
         {"line 7", "not a number"}},
        {"Height (nm)\tVertical Deflection (nN)\n0\t0\n5\t1.5\n6\t2\n7\t3\n8\t4\n10\n",
         "AFM force curve",
         {"line 7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        std::size_t handed = 0;
        const RecogniseSummary summary = recogniseBytes(c.bytes, "broken.txt", [&](RecognisedIndent&) {
            ++handed;
            return true;
        });
        EXPECT_TRUE(summary.recognised);
        EXPECT_TRUE(summary.format.starts_with(c.format)) << summary.format;
        for (const std::string& part : c.says) {
            EXPECT_NE(summary.error.find(part), std::string::npos) << summary.error;
        }
        // Only whole indents before the broken one reach the sink.
        EXPECT_EQ(handed, std::string(c.format).starts_with("Fischerscope") ? 1u : 0u);
    }
    EXPECT_FALSE(recogniseBytes("just some words\nand more\n", "notes.txt", [](RecognisedIndent&) {
                     return true;
                 }).recognised);
}

TEST(Recogniser, RealExports) {
    struct Case {
        const char* file;
        const char* format;
        int indents;
        const char* letters;
        SegmentSource from;
    };
    const Case cases[] = {
        {"hysitron_triboscan_RobinSteel0000LC.txt", "Hysitron TriboScan text", 1, "L2305T1000U1999",
         SegmentSource::BlankLines},
        {"hysitron_highload_Exp-50mN_0000.hld", "Hysitron .hld", 1, "L868U200", SegmentSource::SegmentTable},
        {"hysitron_ti_nanodent_experiment_a.hld", "Hysitron .hld", 1, "L1395T430U975", SegmentSource::Shape},
        {"micromaterials_nanotest_1000nmXX_1.txt", "Micromaterials NanoTest text", 1, "L335T186U365",
         SegmentSource::Shape},
    };
    if (!std::filesystem::exists(test::sharedExport(cases[0].file))) {
        GTEST_SKIP() << "the shared instrument exports are not at " << MIVARO_SHARED_TESTDATA;
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<RecognisedIndent> indents;
        const RecogniseSummary summary =
            recogniseFile(test::sharedExport(c.file), [&](RecognisedIndent& indent) {
                indents.push_back(std::move(indent));
                return true;
            });
        EXPECT_EQ(summary.format, c.format);
        EXPECT_EQ(summary.error, "");
        EXPECT_EQ(summary.segmentsFrom, c.from);
        ASSERT_EQ(indents.size(), static_cast<std::size_t>(c.indents));
        const RecognisedIndent& indent = indents[0];
        EXPECT_EQ(runLengthLetters(indent.segments), c.letters);
        // The unloading starts near the peak force and runs down the curve.
        const std::size_t firstU = indent.segments.find('U');
        const std::size_t lastU = indent.segments.rfind('U');
        const double peak = *std::max_element(indent.forceMn.begin(), indent.forceMn.end());
        EXPECT_GT(indent.forceMn[firstU], 0.95 * peak);
        EXPECT_LT(indent.forceMn[lastU], 0.1 * peak);
        EXPECT_GT(indent.depthNm[firstU], indent.depthNm[lastU]);
    }
    EXPECT_EQ(describeForDialog(sniffFile(test::sharedExport(cases[0].file))),
              "Hysitron TriboScan text: 1 indent, depth nm, load µN, segments from the blank lines. Press "
              "Recognise to use it.");
}

}  // namespace
}  // namespace mivaro::recognise

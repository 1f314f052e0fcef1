#include "curves/import_preview.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "curve_test_support.h"

namespace mivaro {
namespace {

const std::string M(kColumnMarker);

ImportDialogState stateOf(std::string raw, ColumnSetup setup) {
    ImportDialogState state;
    state.rawText = std::move(raw);
    state.setup = setup;
    return state;
}

// header, displacement, force, decimal comma, separator kind, segment and time
// present, segment and time column; units do not matter to the preview.
ColumnSetup setupOf(int header, int displacement, int force, int decimalComma, int separator,
                    int segmentPresent, int timePresent, int segment, int time) {
    return {header,    displacement, force,          decimalComma, 0,       0,
            separator, ';',          segmentPresent, timePresent,  segment, time};
}

TEST(ImportPreview, HeaderCommaPairsAndGuess) {
    ImportDialogState state;
    state.rawText = "Depth (nm),Load (mN)\n12.5,0.31\n13.5,0.41\n14.5,0.51\n";
    state.setup.decimalComma = 0;
    guessImportSetup(state);
    EXPECT_EQ(state.setup, ColumnSetup({1, 1, 2, 0, 0, 1, 0, ';', 0, 1, 1, 0}));
    EXPECT_EQ(state.preview.text, "H> Depth (nm)" + M + "Load (mN)\r\n2> 12.5" + M + "0.31\r\n3> 13.5" + M +
                                      "0.41\r\n4> 14.5" + M + "0.51\r");
    EXPECT_EQ(state.preview.displacement, "12.5   \r\n13.5   \r\n14.5   \r");
    EXPECT_EQ(state.preview.force, "  0.31 \r\n  0.41 \r\n  0.51 \r");
    EXPECT_EQ(state.preview.time, kFlaggedColumn);  // time column 0 is the empty entry of the table
    EXPECT_EQ(state.preview.segment, "");
}

TEST(ImportPreview, ColumnsAndFlags) {
    const struct {
        const char* name;
        std::string raw;
        ColumnSetup setup;
        std::string text;
        std::string displacement;
        std::string force;
        std::string time;
        std::string segment;
    } cases[] = {
        {"upper-case E is flagged, lower-case e passes", "1.0E+01,2e-1\n3.0E+01,4e-1\n",
         setupOf(0, 1, 2, 0, 0, 0, 0, 0, 0), "1> 1.0E+01" + M + "2e-1\r\n2> 3.0E+01" + M + "4e-1\r",
         kFlaggedColumn, "  2e-1 \r\n  4e-1 \r", "", ""},
        {"segment labels need LOAD", "1\tLoading\n2\tUnloading\n", setupOf(0, 1, 1, 0, 1, 1, 0, 2, 0),
         "1> 1" + M + "Loading\r\n2> 2" + M + "Unloading\r", "1   \r\n2   \r", "1   \r\n2   \r", "",
         kFlaggedColumn},
        {"LOAD passes; a line ends in its last cell", "1;LOAD\n2;UNLOAD\n",
         setupOf(0, 1, 1, 0, 3, 1, 0, 2, 0), "1> 1" + M + "LOAD\r\n2> 2" + M + "UNLOAD\r", "1   \r\n2   \r",
         "1   \r\n2   \r", "", "  LOAD \r\n  UNLOAD \r"},
        {"decimal comma with comma separator: one cell a line", "1,5,2,5\n3,5,4,5\n",
         setupOf(1, 1, 2, 1, 0, 0, 0, 0, 0), "H> 1.5.2.5\r\n2> 3.5.4.5\r", "3.5.4.5 \r", kFlaggedColumn, "",
         ""},
        {"more header lines than lines: data from the start", "1,2\n3,4\n",
         setupOf(5, 2, 2, 0, 0, 0, 0, 0, 0), "H> 1" + M + "2\r\nH> 3" + M + "4\r", "  2 \r\n  4 \r",
         "  2 \r\n  4 \r", "", ""},
        {"short lines preview nothing for a missing cell", "1,2,3\n4,5\n6,7,8\n",
         setupOf(0, 1, 2, 0, 0, 0, 1, 0, 3),
         "1> 1" + M + "2" + M + "3\r\n2> 4" + M + "5\r\n3> 6" + M + "7" + M + "8\r", "1   \r\n4   \r\n6   \r",
         "  2   \r\n  5 \r\n  7   \r", "  3 \r\n  8 \r", ""},
        {"no line end: the text stays, the columns are empty", "1.5,2.5", setupOf(0, 1, 2, 0, 0, 0, 0, 0, 0),
         "1> 1.5" + M + "2.5", kFlaggedColumn, kFlaggedColumn, "", ""},
        {"every CR and LF becomes CR LF; an incomplete last line is cut", "h\r1 2\n3 4\nincomple",
         setupOf(1, 1, 2, 0, 2, 0, 0, 0, 0), "H> h\r\n2> 1" + M + "2\r\n3> 3" + M + "4\r", "1   \r\n3   \r",
         "  2 \r\n  4 \r", "", ""},
        {"the whole other separator text is the separator", "1::2:3\n", setupOf(0, 1, 2, 0, 3, 0, 0, 0, 0),
         "1> 1" + M + "2:3\r", "1   \r", "  2:3 \r", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImportDialogState state = stateOf(c.raw, c.setup);
        if (std::string(c.name).find("other separator") != std::string::npos) {
            state.otherSeparatorText = "::";
        }
        const ImportPreview preview = buildImportPreview(state);
        EXPECT_EQ(preview.text, c.text);
        EXPECT_EQ(preview.displacement, c.displacement);
        EXPECT_EQ(preview.force, c.force);
        EXPECT_EQ(preview.time, c.time);
        EXPECT_EQ(preview.segment, c.segment);
    }
}

TEST(ImportPreview, NineteenCells) {
    std::string line;
    for (int k = 1; k <= 21; ++k) {
        line += std::to_string(k) + (k < 21 ? "," : "\n");
    }
    ImportDialogState state = stateOf(line + line, setupOf(0, 19, 20, 0, 0, 0, 0, 0, 0));
    const ImportPreview preview = buildImportPreview(state);
    EXPECT_EQ(preview.displacement, "  19   \r\n  19   \r");
    EXPECT_EQ(preview.force, kFlaggedColumn);  // beyond the table: no line previews it
}

TEST(ImportGuess, Rules) {
    const std::string zeros = [] {
        std::string s;
        for (int k = 0; k < 150; ++k) {
            s += "0,";
        }
        return s;
    }();
    const struct {
        const char* name;
        std::string raw;
        int startSeparator;
        ColumnSetup expected;  // from the initial setup with the given separator kind
    } cases[] = {
        {"tabs, signs dropped, units in UTF-8",
         "t (s)\tdepth (\xC2\xB5m)\tF (\xC2\xB5N)\n-0.1\t-1.5\t2.5\n-0.2\t-1.5\t2.5\n",
         0,
         {1, 1, 2, 0, 1, 0, 1, ';', 0, 1, 4, 3}},
        {"spaces and no period: decimal comma",
         "100 200 3\n110 210 4\n120 220 5\n",
         0,
         {0, 1, 2, 1, 0, 0, 2, ';', 0, 1, 4, 3}},
        {"zero columns are not numeric; uN and um",
         "a,uN,um\n0,7,0,8,9\n0,7,0,8,9\n0,7,0,8,9\n",
         1,
         {0, 2, 4, 1, 1, 0, 0, ';', 0, 1, 6, 5}},
        {"equal commas and tabs keep the kind and its character",
         "x\n1.5,2\t3.5\n1.5,2\t3.5\n",
         1,
         {1, 1, 2, 0, 0, 0, 1, ';', 0, 1, 1, 0}},
        {"(N), (mm) and cm",
         "Depth (mm)\tF (N)\n1.5\t2.5\n1.5\t2.5\n",
         0,
         {1, 1, 2, 0, 2, 2, 1, ';', 0, 1, 1, 0}},
        {"cm when no other depth unit",
         "cm mN\n1.5\t2.5\n1.5\t2.5\n",
         0,
         {1, 1, 2, 0, 3, 1, 1, ';', 0, 1, 1, 0}},
        {"only 300 characters are walked",
         zeros + "7,8\n" + zeros + "7,8\n" + zeros + "7,8\n",
         0,
         {0, 0, 0, 1, 0, 0, 0, ';', 0, 1, 1, 0}},
        {"no line end after the middle: the middle's line",
         "1.5,2.5",
         1,
         {0, 1, 2, 0, 0, 0, 0, ';', 0, 1, 1, 0}},
        {"a sample line of its own CR: empty sample", "1.5\n\n\n", 0, {1, 0, 0, 1, 0, 0, 2, ';', 0, 1, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImportDialogState state;
        state.rawText = c.raw;
        state.setup.separatorKind = c.startSeparator;
        guessImportSetup(state);
        EXPECT_EQ(state.setup, c.expected);
        EXPECT_EQ(state.preview, buildImportPreview(state));
    }
}

// What Guess makes of the four real exports from the dialog's initial state.
// Its rules cannot see a header longer than the sample (highload: the middle
// of the sample is a "Key: value" line) nor time before depth (nanodent,
// micromaterials: columns 1, 2, 3 instead of 2, 3, 1), and a file without
// unit names keeps the units as they were (micromaterials: mN left at uN).
TEST(ImportGuess, RealExports) {
    if (!std::filesystem::exists(test::sharedExport(""))) {
        GTEST_SKIP() << "the shared instrument exports are not here: " << test::sharedExport("");
    }
    const std::pair<const char*, ColumnSetup> cases[] = {
        {"hysitron_triboscan_RobinSteel0000LC.txt", {4, 1, 2, 0, 0, 0, 1, ';', 0, 1, 4, 3}},
        {"hysitron_highload_Exp-50mN_0000.hld", {0, 5, 0, 0, 1, 0, 2, ';', 0, 1, 1, 0}},
        {"hysitron_ti_nanodent_experiment_a.hld", {13, 1, 2, 0, 0, 0, 1, ';', 0, 1, 4, 3}},
        {"micromaterials_nanotest_1000nmXX_1.txt", {0, 1, 2, 0, 0, 0, 1, ';', 0, 1, 4, 3}},
    };
    for (const auto& [file, guessed] : cases) {
        ImportDialogState state;
        std::string reason;
        ASSERT_TRUE(readPreviewText(test::sharedExport(file), state.rawText, reason)) << file;
        guessImportSetup(state);
        EXPECT_EQ(state.setup, guessed) << file;
    }
}

TEST(ImportGuess, PreviewTextIsReadAsTextMode) {
    test::TempDir dir;
    std::string big(5000, 'x');
    big.replace(0, 6, "a\r\nb\rc");
    std::string text;
    std::string reason;
    ASSERT_TRUE(readPreviewText(dir.write("big.txt", big), text, reason));
    EXPECT_EQ(text.size(), kPreviewCharacters);
    EXPECT_EQ(text.substr(0, 6), "a\nb\rcx");
    EXPECT_FALSE(readPreviewText(dir.path("none.txt"), text, reason));
    EXPECT_EQ(reason, "No such file or directory");
}

// 4000 bytes of this file shrink to fewer characters than the 3999 text mode
// gives, so the sample line, the middle line of the preview, moves from the
// "Key: value" header into the data.
TEST(ImportGuess, CrLfFileIsSampledOverItsTextModeCharacters) {
    test::TempDir dir;
    std::string file;
    for (int k = 0; k < 234; ++k) {
        file += "Name: x\r\n";
    }
    for (int k = 0; k < 400; ++k) {
        file += "100.5\t2.5\t1.5\r\n";
    }
    ImportDialogState state;
    std::string reason;
    ASSERT_TRUE(readPreviewText(dir.write("crlf.hld", file), state.rawText, reason));
    EXPECT_EQ(state.rawText.size(), kPreviewCharacters);
    EXPECT_EQ(state.rawText.find('\r'), std::string::npos);
    guessImportSetup(state);
    EXPECT_EQ(state.setup, (ColumnSetup{234, 1, 2, 0, 0, 0, 1, ';', 0, 1, 4, 3}));
}

}  // namespace
}  // namespace mivaro

#include "curves/settings_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "curve_test_support.h"
#include "support/file_size_limit.h"

namespace mivaro {
namespace {

// A setup unlike the defaults in every field, to see each one land.
ColumnSetup unusualSetup() {
    ColumnSetup s;
    s.headerLines = 4;
    s.displacementColumn = 2;
    s.forceColumn = 3;
    s.decimalComma = 1;
    s.depthUnit = 0;
    s.forceUnit = 2;
    s.separatorKind = 3;
    s.otherSeparator = ';';
    s.segmentColumnPresent = 0;
    s.timeColumnPresent = 2;
    s.segmentColumn = 7;
    s.timeColumn = 5;
    return s;
}

TEST(OpenSetupFile, ReadsTheTwelveValuesInOrder) {
    const std::string texts[] = {
        "4\n2\n3\n1\n0\n2\n3\n;\n0\n2\n7\n5\n",
        "  4\r\n2\r\n 3\r\n1\r\n0\r\n2\r\n3\r\n;;extra\r\n0\r\n2\r\n7\r\n5",  // CR LF, extra text after ;
        "4 2 3 1 0 2 3 ; 0 2 7 5",  // white space of any kind separates values
        "+4\n2\n3\n1\n0\n2\n3\n\t;\n0\n2\n7\n5\ntrailing words\n",
    };
    for (const std::string& text : texts) {
        ColumnSetup read;
        std::string separatorText;
        ASSERT_TRUE(parseOpenSetup(text, read, &separatorText)) << text;
        EXPECT_EQ(read, unusualSetup()) << text;
        EXPECT_EQ(separatorText.front(), ';');
    }
}

TEST(OpenSetupFile, BlankSeparatorLineStandsForASpace) {
    ColumnSetup read;
    ASSERT_TRUE(parseOpenSetup("1\n1\n2\n0\n0\n1\n1\n\n1\n1\n4\n3\n", read));
    EXPECT_EQ(read.otherSeparator, ' ');
    EXPECT_EQ(read.segmentColumnPresent, 1);
    EXPECT_EQ(read.timeColumn, 3);
    ASSERT_TRUE(parseOpenSetup("1\n1\n2\n0\n0\n1\n1\n   \r\n1\n1\n4\n3\n", read));
    EXPECT_EQ(read.segmentColumn, 4);
}

TEST(OpenSetupFile, RefusesGarbledFilesWhole) {
    const std::string garbled[] = {
        "",
        "4\n2\n3\n",                                            // truncated
        "4\n2\n3\n1\n0\n2\n3\n;\n0\n2\n7\n",                    // the last value missing
        "4\n2\nthree\n1\n0\n2\n3\n;\n0\n2\n7\n5\n",             // a word where a number belongs
        "4\n2\n3\n1\n0\n2\n4\n;\n0\n2\n7\n5\n",                 // separator kind 4
        "4\n2\n3\n1\n0\n2\n-1\n;\n0\n2\n7\n5\n",                // separator kind -1
        "4\n2\n99999999999\n1\n0\n2\n3\n;\n0\n2\n7\n5\n",       // out of int range
        std::string("\x7f\x45\x4c\x46\x02\x01\x01\0\0\0", 10),  // binary
    };
    for (const std::string& text : garbled) {
        ColumnSetup setup = unusualSetup();
        EXPECT_FALSE(parseOpenSetup(text, setup)) << text;
        EXPECT_EQ(setup, unusualSetup()) << "a refused file must change nothing: " << text;
    }
}

TEST(OpenSetupFile, WritesWhatItReadsBack) {
    test::TempDir dir;
    ColumnSetup back;
    ASSERT_TRUE(writeOpenSetup(dir.dir(), unusualSetup(), ";"));
    ASSERT_TRUE(readOpenSetup(dir.dir(), back));
    EXPECT_EQ(back, unusualSetup());

    // A blank separator text would shift the values; the writer keeps the file readable.
    ColumnSetup spaced = kStandardColumnSetup;
    std::string text;
    ASSERT_TRUE(writeOpenSetup(dir.dir(), spaced, ""));
    ASSERT_TRUE(readWholeFile(dir.path("MivaroOpenSetup.par"), text));
    EXPECT_EQ(text, "1\n1\n2\n0\n1\n1\n0\n_\n1\n1\n4\n3\n");
    ASSERT_TRUE(readOpenSetup(dir.dir(), back));
    EXPECT_EQ(back.timeColumn, 3);
    EXPECT_FALSE(std::filesystem::exists(dir.path("MivaroOpenSetup.par.tmp")));

    // Blanks before the separator are not part of it: the next reading splits
    // at the first visible character; only a text of blanks gives "_".
    const std::pair<const char*, char> typed[] = {{" ;", ';'}, {"  |x", '|'}, {" \t ", '_'}};
    for (const auto& [separatorText, separator] : typed) {
        ColumnSetup other = kStandardColumnSetup;
        other.separatorKind = 3;
        other.otherSeparator = ' ';  // the text's first character, as the dialog hands it over
        ASSERT_TRUE(writeOpenSetup(dir.dir(), other, separatorText));
        ASSERT_TRUE(readOpenSetup(dir.dir(), back));
        EXPECT_EQ(back.otherSeparator, separator) << separatorText;
        EXPECT_EQ(back.timeColumn, 3) << separatorText;
    }
}

TEST(ForceInstabilityFile, ReadsOneFiniteNumber) {
    struct Case {
        const char* text;
        bool ok;
        float value;
    };
    const Case cases[] = {
        {"0.500000\n", true, 0.5f}, {"  1.25", true, 1.25f}, {"2e-1\r\n", true, 0.2f},
        {"-0.1\n", true, -0.1f},    {"", false, 7},          {"abc\n", false, 7},
        {"nan\n", false, 7},        {"inf\n", false, 7},     {"1e300\n", false, 7},
        {"0,5\n", true, 0.0f},  // scanf("%f") in the C locale reads the 0
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        dir.write("setup.par", c.text);
        float value = 7;
        EXPECT_EQ(readForceInstability(dir.dir(), value), c.ok) << c.text;
        EXPECT_FLOAT_EQ(value, c.value) << c.text;
    }
    float value = 7;
    EXPECT_FALSE(readForceInstability(dir.path("nowhere"), value));
    EXPECT_EQ(value, 7);
}

TEST(ForceInstabilityFile, WritesWithSixDecimals) {
    test::TempDir dir;
    ASSERT_TRUE(writeForceInstability(dir.dir(), 0.75f));
    std::string text;
    ASSERT_TRUE(readWholeFile(dir.path("setup.par"), text));
    EXPECT_EQ(text, "0.750000\n");
    // Directory without the trailing slash works the same.
    ASSERT_TRUE(writeForceInstability(dir.path(""), 1.5f));
    float value = 0;
    ASSERT_TRUE(readForceInstability(dir.dir(), value));
    EXPECT_EQ(value, 1.5f);
    EXPECT_FALSE(writeForceInstability(dir.path("no/such/dir"), 1.0f));
}

TEST(ForceInstabilityFile, FailedWriteKeepsThePreviousFile) {
    test::TempDir dir;
    ASSERT_TRUE(writeForceInstability(dir.dir(), 0.25f));
    {
        // The disk fills up in the middle of the new file.
        test::FileSizeLimit diskFull(4);
        EXPECT_FALSE(writeForceInstability(dir.dir(), 9.0f));
    }
    float value = 0;
    ASSERT_TRUE(readForceInstability(dir.dir(), value));
    EXPECT_EQ(value, 0.25f);
}

}  // namespace
}  // namespace mivaro

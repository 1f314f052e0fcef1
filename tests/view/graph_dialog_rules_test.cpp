#include "view/graph_dialog_rules.h"

#include <gtest/gtest.h>

#include "view/color_chart.h"
#include "view/export_format.h"
#include "view/print_mapping.h"

namespace mivaro {
namespace {

TEST(AxisDialogRules, FieldsShowSixSignificantDigits) {
    const AxisFieldTexts texts = axisFieldTexts(AxisDialogValues{1, 1, 1, 0, 1.001f, 0.1001f, 2});
    EXPECT_EQ(texts.min, "0");
    EXPECT_EQ(texts.max, "1.001");
    EXPECT_EQ(texts.major, "0.1001");
    EXPECT_EQ(texts.labelDecimals, "2");
    EXPECT_EQ(formatAxisValue(1234567.0), "1.23457e+06");
    EXPECT_EQ(formatAxisValue(1.1f), "1.1");
}

TEST(AxisDialogRules, OkReadsFieldsInOrderAndStopsAtTheFirstBadOne) {
    struct Case {
        AxisFieldTexts texts;
        bool accepted;
        AxisField failed;
    };
    const std::vector<Case> cases = {
        {{"0", "10", "2", "0"}, true, {}},
        {{" -5 ", "1e3", "0", "9"}, true, {}},  // no cross-checks: major 0 passes
        {{"0", "10", "2", "10"}, false, AxisField::LabelDecimals},
        {{"0", "10", "2", "-1"}, false, AxisField::LabelDecimals},
        {{"0", "10", "2", "2.5"}, false, AxisField::LabelDecimals},
        {{"abc", "x", "2", "10"}, false, AxisField::Min},  // the first failing field wins
        {{"0", "12abc", "2", "2"}, false, AxisField::Max},
        {{"0", "10", "", "2"}, false, AxisField::Major},
        {{"0", "1e39", "2", "2"}, false, AxisField::Max},  // beyond a float
        {{"nan", "10", "2", "2"}, false, AxisField::Min},
    };
    for (const Case& c : cases) {
        const AxisReadResult r = readAxisFields(AxisDialogValues{}, c.texts);
        EXPECT_EQ(r.values.has_value(), c.accepted)
            << c.texts.min << " " << c.texts.max << " " << c.texts.labelDecimals;
        if (!c.accepted) {
            EXPECT_EQ(r.failedField, c.failed) << c.texts.min;
            EXPECT_FALSE(r.message.empty());
        }
    }
    EXPECT_EQ(readAxisFields({}, {"0", "10", "2", "10"}).message,
              "Decimal Precision: Please enter an integer between 0 and 9.");
    const AxisReadResult ok =
        readAxisFields(AxisDialogValues{0, 1, 0, 9, 9, 9, 9}, {"-5", "1e3", "0.5", "0"});
    ASSERT_TRUE(ok.values);
    EXPECT_EQ(ok.values->autoMin, 0);
    EXPECT_EQ(ok.values->autoMax, 1);
    EXPECT_EQ(ok.values->min, -5.0f);
    EXPECT_EQ(ok.values->max, 1000.0f);
    EXPECT_EQ(ok.values->major, 0.5f);
    EXPECT_EQ(ok.values->labelDecimals, 0);
}

TEST(AxisTitlesRules, FontSizeReadsLikeTheStandardConversion) {
    struct Case {
        const char* text;
        int size;
    };
    for (const Case& c : {Case{"13", 13}, Case{"abc", 0}, Case{" 12pt", 12}, Case{"+9", 9}, Case{"", 0},
                          Case{"1234567890", 123456789}, Case{"-3", -3}}) {
        EXPECT_EQ(readFontSize(c.text), c.size) << c.text;
    }
    EXPECT_EQ(readAxisTitles("abc", 1, "nm", "mN").values->fontSize, 0);
    EXPECT_FALSE(readAxisTitles("999999", 1, "nm", "mN").values);
    EXPECT_FALSE(readAxisTitles("-3", 1, "nm", "mN").values);
}

TEST(AxisTitlesRules, TitlesOverNinetyNineCharactersAreRefused) {
    const std::string ninetyNine(99, 'a');
    // Characters, not bytes: 99 micro signs are 198 bytes and still fit.
    std::string micro;
    for (int k = 0; k < 99; ++k) {
        micro += "\xC2\xB5";
    }
    EXPECT_TRUE(readAxisTitles("16", 1, ninetyNine, micro).values);
    const TitlesReadResult tooLong = readAxisTitles("16", 1, "nm", ninetyNine + "a");
    EXPECT_FALSE(tooLong.values);
    EXPECT_EQ(tooLong.message, "Y Label: a title can have at most 99 characters; this one has 100.");
}

TEST(ColorChart, DrawnToThePixel) {
    EXPECT_EQ(colorChartPixel(0, 0), kColorChartBackground);
    EXPECT_EQ(colorChartPixel(145, 90), kColorChartBackground);
    // Frame of row 0 column 0 from (4, 3) to (15, 14), swatch inside.
    EXPECT_EQ(colorChartPixel(3, 3), kColorChartBackground);
    EXPECT_EQ(colorChartPixel(4, 3), kColorChartFrame);
    EXPECT_EQ(colorChartPixel(15, 14), kColorChartFrame);
    EXPECT_EQ(colorChartPixel(5, 4), makeRgb(0, 0, 0));
    EXPECT_EQ(colorChartPixel(16, 8), kColorChartBackground);  // the 6-pixel gap
    EXPECT_EQ(colorChartPixel(22, 21), kColorChartFrame);      // row 1 column 1
    EXPECT_EQ(colorChartPixel(27, 26), makeRgb(224, 96, 0));
    // Row 2 column 0 red; row 4 column 7 white, the last frame ends at (141, 86).
    EXPECT_EQ(colorChartPixel(9, 45), makeRgb(255, 0, 0));
    EXPECT_EQ(colorChartPixel(140, 85), makeRgb(255, 255, 255));
    EXPECT_EQ(colorChartPixel(141, 86), kColorChartFrame);
    EXPECT_EQ(colorChartPixel(142, 86), kColorChartBackground);
    // Row 1 column 7 is one grey block: frame and swatch alike.
    for (int x = 130; x <= 141; ++x) {
        for (int y = 21; y <= 32; ++y) {
            EXPECT_EQ(colorChartPixel(x, y), kColorChartFrame) << x << "," << y;
        }
    }
    int backgroundPixels = 0;
    for (int y = 0; y < kColorChartHeight; ++y) {
        for (int x = 0; x < kColorChartWidth; ++x) {
            backgroundPixels += colorChartPixel(x, y) == kColorChartBackground ? 1 : 0;
        }
    }
    EXPECT_EQ(backgroundPixels, 146 * 91 - 40 * 144);
}

TEST(PrintMapping, LetterMappingAtThePrintersResolutionShrunkOnlyToFit) {
    struct Case {
        int clientWidth, clientHeight;
        double dpi;
        int pageWidth, pageHeight;
        double printedWidth, printedHeight;
    };
    const std::vector<Case> cases = {
        {400, 518, 200, 1700, 2200, 1700, 2200},  // the mapping itself
        {400, 300, 600, 5100, 6600, 5100, 300 * 2200.0 / 518 * 3},
        {800, 600, 200, 1700, 2200, 1700, 600 * 2200.0 / 518 / 2},  // too wide: shrunk by one half
        {800, 600, 200, 4000, 4000, 3400, 600 * 2200.0 / 518},      // fits a large page
    };
    for (const Case& c : cases) {
        const PrintScale s =
            printScale(c.clientWidth, c.clientHeight, c.dpi, c.dpi, c.pageWidth, c.pageHeight);
        EXPECT_NEAR(c.clientWidth * s.x, c.printedWidth, 1e-6) << c.clientWidth << " at " << c.dpi;
        EXPECT_NEAR(c.clientHeight * s.y, c.printedHeight, 1e-6) << c.clientWidth << " at " << c.dpi;
    }
}

TEST(ExportFormat, ChosenByTheExtension) {
    EXPECT_EQ(exportFormatOf("a/graph.png"), ExportFormat::Png);
    EXPECT_EQ(exportFormatOf("graph.SVG"), ExportFormat::Svg);
    EXPECT_EQ(exportFormatOf("x.y/graph.Pdf"), ExportFormat::Pdf);
    EXPECT_EQ(exportFormatOf("graph.jpg"), std::nullopt);
    EXPECT_EQ(exportFormatOf("dir.png/graph"), std::nullopt);
}

}  // namespace
}  // namespace mivaro

#include "curves/decimal_conversion.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <system_error>

namespace mivaro {
namespace {

struct DecimalCase {
    const char* text;
    double value;
    std::size_t consumed;
};

TEST(DecimalConversion, AcceptsOnlyThePlainDecimalSyntax) {
    const DecimalCase cases[] = {
        {"12", 12, 2},
        {"  \t-3.5,7", -3.5, 7},
        {"+0.25", 0.25, 5},
        {".5", 0.5, 2},
        {"5.", 5, 2},
        {"1.234500e+00", 1.2345, 12},
        {"1.000000e-001", 0.1, 13},  // three exponent digits
        {"2E3x", 2000, 3},
        {"7e", 7, 1},  // no exponent digits: the 'e' is not part of the number
        {"7e+", 7, 1},
        {"7e-2", 0.07, 4},
        {"1.2.3", 1.2, 3},
        {"-0", 0, 2},
        {"0x1A", 0, 1},  // hexadecimal: only the leading 0 is a number
        {"nan", 0, 0},
        {"NaN", 0, 0},
        {"inf", 0, 0},
        {"-infinity", 0, 0},
        {"", 0, 0},
        {"   ", 0, 0},
        {"+", 0, 0},
        {"-.", 0, 0},
        {".e5", 0, 0},
        {"LOAD", 0, 0},
        {"1,5", 1, 1},  // a decimal comma is not ours to read
    };
    for (const DecimalCase& c : cases) {
        const std::string text = c.text;
        double value = -99;
        const std::size_t consumed = scanDecimal(text.data(), text.data() + text.size(), value);
        EXPECT_EQ(consumed, c.consumed) << '"' << text << '"';
        EXPECT_DOUBLE_EQ(value, c.value) << '"' << text << '"';
    }
}

TEST(DecimalConversion, StopsAtTheEndOfTheGivenSpan) {
    const std::string text = "123456";
    double value = 0;
    EXPECT_EQ(scanDecimal(text.data(), text.data() + 3, value), 3u);
    EXPECT_EQ(value, 123);
}

TEST(DecimalConversion, OutOfRangeBehavesLikeStrtod) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(decimalValue("1e400"), inf);
    EXPECT_EQ(decimalValue("-1e400"), -inf);
    EXPECT_EQ(decimalValue("123456789e99999999999999"), inf);
    EXPECT_EQ(decimalValue("1e-400"), 0.0);
    EXPECT_EQ(decimalValue("0.0000001e-99999"), 0.0);
    EXPECT_TRUE(std::signbit(decimalValue("-1e-400")));
    EXPECT_EQ(decimalValue("0e99999"), 0.0);
    // Many digits but a small exponent: a plain large number, not an overflow.
    EXPECT_DOUBLE_EQ(decimalValue("0." + std::string(500, '0') + "1e505"), 1e4);
}

// The fast conversion must give the correctly rounded double, as from_chars does.
TEST(DecimalConversion, AgreesWithFromCharsOnManyNumbers) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::uniform_int_distribution<int> digits(0, 17);
    char text[64];
    for (int k = 0; k < 200000; ++k) {
        const double x = mantissa(random) * std::pow(10.0, exponent(random));
        const int precision = digits(random);
        const auto format = k % 3 == 0   ? std::chars_format::scientific
                            : k % 3 == 1 ? std::chars_format::fixed
                                         : std::chars_format::general;
        const auto written = std::to_chars(text, text + sizeof text, x, format, precision);
        if (written.ec != std::errc()) {
            continue;  // fixed notation of a huge number does not fit: not needed here
        }
        double expected = 0;
        const char* start = text[0] == '-' ? text + 1 : text;
        std::from_chars(start, written.ptr, expected);
        if (text[0] == '-') {
            expected = -expected;
        }
        double value = 0;
        ASSERT_EQ(scanDecimal(text, written.ptr, value), static_cast<std::size_t>(written.ptr - text));
        ASSERT_EQ(value, expected) << std::string(text, written.ptr);
    }
}

TEST(DecimalConversion, IgnoresTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/install-deps generates it)";
    }
    EXPECT_DOUBLE_EQ(decimalValue("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(decimalValue("2,5"), 2.0);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace mivaro

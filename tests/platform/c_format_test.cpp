#include "platform/c_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

namespace mivaro {
namespace {

TEST(CFormat, IntegersBeyondIntClampInsteadOfWrapping) {
    int value = 0;
    std::size_t used = 0;
    // 2^32 would wrap to 0 and 2^32 + 100 to 100: both would pass a range check.
    ASSERT_TRUE(scanCInt("4294967296", value, &used));
    EXPECT_EQ(value, INT_MAX);
    EXPECT_EQ(used, 10u);
    ASSERT_TRUE(scanCInt("4294967396", value));
    EXPECT_EQ(value, INT_MAX);
    ASSERT_TRUE(scanCInt("-99999999999999999999", value));
    EXPECT_EQ(value, INT_MIN);
    ASSERT_TRUE(scanCInt(" +42x", value, &used));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(used, 4u);
    EXPECT_FALSE(scanCInt("x1", value));
}

TEST(CFormat, DecimalPointWhateverTheProcessLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/install-deps generates it)";
    }
    const std::string text = formatC("%f|%.9g", 0.5, 1.25);
    double value = 0;
    std::size_t used = 0;
    const bool scanned = scanCDouble("2.75,5", value, &used);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(text, "0.500000|1.25");
    ASSERT_TRUE(scanned);
    EXPECT_EQ(value, 2.75);
    EXPECT_EQ(used, 4u);
}

}  // namespace
}  // namespace mivaro

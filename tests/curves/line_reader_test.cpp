#include "curves/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curve_test_support.h"

namespace mivaro {
namespace {

std::vector<std::string> readLines(const std::string& path) {
    LineReader reader(path);
    std::vector<std::string> lines;
    char* begin = nullptr;
    char* end = nullptr;
    while (reader.nextLine(begin, end)) {
        lines.emplace_back(begin, end);
    }
    return lines;
}

TEST(LineReader, SplitsAtEveryKindOfLineEnd) {
    struct Case {
        std::string content;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},  // LF CR is two line ends
        {"a\r\r\nb", {"a", "", "b"}},
        {std::string("x\0y\n", 4), {std::string("x\0y", 3)}},
        {"\xEF\xBB\xBF"
         "1,2\n\xEF\xBB\xBF",
         {"1,2", "\xEF\xBB\xBF"}},  // a byte order mark only at the start
        {"\xEF\xBB", {"\xEF\xBB"}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        EXPECT_EQ(readLines(dir.write("lines.txt", c.content)), c.lines);
    }
}

TEST(LineReader, KeepsLongLinesWholeAcrossBlocks) {
    test::TempDir dir;
    // A CR LF pair split by the block boundary must still be one line end.
    const std::string longLine(100000, 'x');
    std::string content = longLine + "\r\n" + "short\r\n";
    content += std::string((1 << 20) - content.size() - 1, 'y') + "\r\nlast";
    const auto lines = readLines(dir.write("long.txt", content));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], longLine);
    EXPECT_EQ(lines[1], "short");
    EXPECT_EQ(lines[2].size(), (1u << 20) - 100000 - 2 - 7 - 1);
    EXPECT_EQ(lines[3], "last");
}

TEST(LineReader, KeepsOnlyTheStartOfLinesLongerThanTheLimit) {
    // Memory stays bounded: a line of several MB gives its first kMaxLineLength
    // characters; the rest, line end included, is passed over.
    const std::size_t limit = LineReader::kMaxLineLength;
    const std::string head = "1,2,3,LOAD";
    const std::string huge = head + std::string(3 * limit, 'x');
    struct Case {
        std::string content;
        std::vector<std::size_t> sizes;
    };
    const Case cases[] = {
        {huge + "\r\nnext", {limit, 4}},
        {huge.substr(0, limit) + "\r\nnext", {limit, 4}},  // exactly the limit: whole
        {huge.substr(0, limit + 1) + "\r\nnext", {limit, 4}},
        {huge + "\r", {limit}},
        {huge, {limit}},
        {"a\n" + huge.substr(0, 2 * limit - 2) + "\r\n\nz", {1, limit, 0, 1}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        for (const bool inMemory : {false, true}) {
            LineReader reader =
                inMemory ? LineReader::fromBytes(c.content) : LineReader(dir.write("l.txt", c.content));
            std::vector<std::size_t> sizes;
            char* begin = nullptr;
            char* end = nullptr;
            while (reader.nextLine(begin, end)) {
                sizes.push_back(static_cast<std::size_t>(end - begin));
            }
            EXPECT_EQ(sizes, c.sizes);
        }
    }
}

TEST(LineReader, ReadsManyBlocksOfShortLines) {
    test::TempDir dir;
    std::string content;
    for (int k = 0; k < 300000; ++k) {
        content += std::to_string(k) + (k % 2 == 0 ? "\r\n" : "\r");
    }
    const auto lines = readLines(dir.write("many.txt", content));
    ASSERT_EQ(lines.size(), 300000u);
    EXPECT_EQ(lines[123456], "123456");
    EXPECT_EQ(lines.back(), "299999");
}

TEST(LineReader, CountsLinesLongerThanThreeCharacters) {
    test::TempDir dir;
    EXPECT_EQ(countDataLines(dir.write("c.txt", "head\nabc\n\nabcd\r\n1,2,3\n" + std::string(5000, 'z'))), 4);
    EXPECT_EQ(countDataLines(dir.path("missing.txt")), 0);
    EXPECT_EQ(countDataLines(dir.write("empty.txt", "")), 0);
}

}  // namespace
}  // namespace mivaro

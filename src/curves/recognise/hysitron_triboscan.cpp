// Hysitron TriboScan quasi-static text: a date line, a blank line,
// "Number of Points = N", the column line, then data in blocks separated by
// blank lines, one block per segment of the test.
#include <algorithm>
#include <cmath>

#include "curves/recognise/format_unit.h"
#include "curves/recognise/text_table.h"
#include "platform/c_format.h"

namespace mivaro::recognise {
namespace {

constexpr std::size_t kHeaderSearch = 8;

std::size_t columnLineIndex(const std::vector<std::string_view>& lines) {
    for (std::size_t i = 1; i < lines.size() && i < kHeaderSearch; ++i) {
        if (trimmed(lines[i - 1]).starts_with("Number of Points") && lines[i].starts_with("Depth (nm)")) {
            return i;
        }
    }
    return 0;
}

bool claims(std::string_view head, std::string_view) {
    return columnLineIndex(firstLines(head, kHeaderSearch)) != 0;
}

// One letter per block by where its force goes, relative to the test's peak:
// rising blocks load (reload after an unloading), falling blocks unload, flat
// blocks hold at the top after a rise and at the bottom after a fall (before
// any rise they are the approach, read as loading). A block of one point takes the next block's letter.
void lettersFromBlocks(RecognisedIndent& indent, const std::vector<std::size_t>& starts) {
    const auto& f = indent.forceMn;
    const double peak = *std::max_element(f.begin(), f.end());
    const double flat = 0.05 * std::fabs(peak);
    indent.segments.assign(f.size(), 'L');
    std::vector<char> letter(starts.size(), 'L');
    char lastMove = 0;  // 'L' after a rising block, 'U' after a falling one
    bool unloaded = false;
    for (std::size_t b = 0; b < starts.size(); ++b) {
        const std::size_t begin = starts[b];
        const std::size_t end = b + 1 < starts.size() ? starts[b + 1] : f.size();
        const double change = f[end - 1] - f[begin];
        if (change > flat) {
            letter[b] = unloaded ? 'R' : 'L';
            lastMove = 'L';
        } else if (change < -flat) {
            letter[b] = 'U';
            lastMove = 'U';
            unloaded = true;
        } else {
            letter[b] = lastMove == 'L' ? 'T' : lastMove == 'U' ? 'B' : 'L';
        }
    }
    for (std::size_t b = starts.size(); b-- > 0;) {
        const std::size_t end = b + 1 < starts.size() ? starts[b + 1] : f.size();
        if (end - starts[b] < 2 && b + 1 < starts.size()) {
            letter[b] = letter[b + 1];
        }
        std::fill(indent.segments.begin() + static_cast<std::ptrdiff_t>(starts[b]),
                  indent.segments.begin() + static_cast<std::ptrdiff_t>(end), letter[b]);
    }
    indent.segmentsFrom = SegmentSource::BlankLines;
}

RecogniseSummary readBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    RecogniseSummary summary;
    summary.depthUnit = "nm";
    summary.forceUnit = "µN";
    summary.segmentsFrom = SegmentSource::BlankLines;
    const std::vector<std::string_view> lines = splitLines(bytes);
    const std::size_t columnLine = columnLineIndex(lines);
    if (columnLine == 0) {
        summary.error = brokenFileMessage(name, {}, 0, "no column line");
        return summary;
    }
    RecognisedIndent indent;
    indent.name = baseName(name);
    indent.metadata.emplace_back("Date", utf8(trimmed(lines[0])));
    double declared = 0;
    const std::string_view count = lines[columnLine - 1];
    parseNumber(count.substr(count.find('=') + 1), '.', declared);

    NumericColumns columns;
    if (!findColumns(splitFields(lines[columnLine], '\t'), columns)) {
        summary.error = brokenFileMessage(name, {}, columnLine + 1, "no depth and load columns");
        return summary;
    }
    reservePoints(indent, lines.size() - columnLine);
    std::vector<std::size_t> blockStarts;
    bool newBlock = true;
    for (std::size_t i = columnLine + 1; i < lines.size(); ++i) {
        if (trimmed(lines[i]).empty()) {
            newBlock = true;
            continue;
        }
        if (newBlock) {
            blockStarts.push_back(indent.depthNm.size());
            newBlock = false;
        }
        if (const std::string what = readDataRow(lines[i], columns, indent); !what.empty()) {
            summary.error = brokenFileMessage(name, {}, i + 1, what);
            return summary;
        }
    }
    if (indent.depthNm.size() < 3 ||
        (declared > 0 && static_cast<double>(indent.depthNm.size()) < declared)) {
        summary.error = brokenFileMessage(
            name, {}, lines.size(),
            formatC("the file ends after %zu of its %.0f points", indent.depthNm.size(), declared));
        return summary;
    }
    lettersFromBlocks(indent, blockStarts);
    summary.indents = 1;
    handIndent(indent, sink);
    return summary;
}

}  // namespace

const FormatUnit& hysitronTriboScanFormat() {
    static const FormatUnit unit{"Hysitron TriboScan text", claims, readBytes};
    return unit;
}

}  // namespace mivaro::recognise

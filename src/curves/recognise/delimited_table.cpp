#include "curves/recognise/delimited_table.h"

namespace mivaro::recognise {

std::optional<TitledTable> findTitledTable(const std::vector<std::string_view>& lines,
                                           const ColumnFinder& finder) {
    constexpr std::size_t kTitleSearch = 300;
    constexpr std::size_t kDataSample = 5;
    for (std::size_t i = 0; i < lines.size() && i < kTitleSearch; ++i) {
        if (trimmed(lines[i]).empty() || isNumberRow(lines[i], '\t', '.', 1)) {
            continue;
        }
        std::size_t first = i + 1;
        while (first < lines.size() && trimmed(lines[first]).empty()) {
            ++first;
        }
        std::vector<std::string_view> sample;
        for (std::size_t k = first; k < lines.size() && sample.size() < kDataSample; ++k) {
            if (!trimmed(lines[k]).empty()) {
                sample.push_back(lines[k]);
            }
        }
        char mark = '.';
        const char separator = detectSeparator(sample, mark);
        if (separator == 0) {
            continue;
        }
        TitledTable table;
        table.titleLine = i;
        table.firstData = first;
        table.titles = splitFields(separator == ' ' ? trimmed(lines[i]) : lines[i], separator);
        table.columns.separator = separator;
        table.columns.decimalMark = mark;
        if (finder(table.titles, table.columns)) {
            return table;
        }
    }
    return std::nullopt;
}

RecogniseSummary readTitledTable(const std::vector<std::string_view>& lines, const TitledTable& table,
                                 const std::string& name, RecognisedIndent& indent, const IndentSink& sink) {
    RecogniseSummary summary;
    summary.depthUnit = utf8(parseColumnTitle(table.titles[table.columns.depth]).unit);
    summary.forceUnit = utf8(parseColumnTitle(table.titles[table.columns.force]).unit);
    summary.segmentsFrom = SegmentSource::Shape;
    for (std::size_t i = 0; i < table.titleLine; ++i) {
        if (!trimmed(lines[i]).empty()) {
            indent.metadata.emplace_back("Header", utf8(trimmed(lines[i])));
        }
    }
    reservePoints(indent, lines.size() - table.firstData);
    for (std::size_t i = table.firstData; i < lines.size(); ++i) {
        if (trimmed(lines[i]).empty()) {
            continue;
        }
        if (const std::string what = readDataRow(lines[i], table.columns, indent); !what.empty()) {
            summary.error = brokenFileMessage(name, {}, i + 1, what);
            return summary;
        }
    }
    if (indent.depthNm.size() < 2) {
        summary.error = brokenFileMessage(name, {}, lines.size(), "the table holds fewer than two points");
        return summary;
    }
    summary.indents = 1;
    summary.loadingOnly = !indent.hasUnloading;
    handIndent(indent, sink);
    return summary;
}

}  // namespace mivaro::recognise

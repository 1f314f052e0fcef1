// Anton Paar (CSM Instruments) indentation text: ISO-8859-1, TAB, decimal
// comma. Indented settings and results ("   HIT=\t134,71 \tMPa"), a line
// "Measured values", the column line with a SegmentID column, a blank line,
// then data. SegmentID: 0 before contact, 1 loading, 2 hold, 3 unloading,
// 4 the last point.
#include <algorithm>

#include "curves/recognise/format_unit.h"
#include "curves/recognise/text_table.h"

namespace mivaro::recognise {
namespace {

std::size_t columnLineIndex(const std::vector<std::string_view>& lines) {
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (trimmed(lines[i]) == "Measured values" && lines[i + 1].find("Pd (") != std::string_view::npos &&
            lines[i + 1].find("SegmentID") != std::string_view::npos) {
            return i + 1;
        }
    }
    return 0;
}

bool claims(std::string_view head, std::string_view) {
    return columnLineIndex(firstLines(head, 400)) != 0;
}

// "   HIT=\t134,71 \tMPa", "   Poisson's ratio(nu)=\t0,30 ", "  Unload Fit [40%,98%]".
void readSettingLine(std::string_view line, RecognisedIndent& indent) {
    const auto fields = splitFields(line, '\t');
    const std::string_view label = trimmed(fields[0]);
    if (label.empty()) {
        return;
    }
    std::string value;
    for (std::size_t k = 1; k < fields.size(); ++k) {
        value += (k > 1 ? " " : "") + std::string(trimmed(fields[k]));
    }
    indent.metadata.emplace_back(utf8(label.ends_with('=') ? label.substr(0, label.size() - 1) : label),
                                 utf8(trimmed(value)));
    KnownMetadata& known = indent.known;
    if (label.starts_with("Unload Fit [")) {
        double lo = 0, hi = 0;
        const std::string_view range = label.substr(12, label.find(']') - 12);
        const auto bounds = splitFields(range, ',');
        const auto percent = [](std::string_view bound) { return trimmed(bound.substr(0, bound.find('%'))); };
        if (bounds.size() == 2 && parseNumber(percent(bounds[0]), '.', lo) &&
            parseNumber(percent(bounds[1]), '.', hi)) {
            known.fitWindowLoPct = lo;
            known.fitWindowHiPct = hi;
        }
        return;
    }
    double number = 0;
    if (fields.size() < 2 || !parseNumber(fields[1], ',', number)) {
        return;
    }
    const std::string_view unit = fields.size() > 2 ? trimmed(fields[2]) : std::string_view{};
    if (label.starts_with("Poisson")) {
        known.poissonRatio = number;
    } else if (const char* result = instrumentResultName(label)) {
        addInstrumentResult(known, result, number, unit);
    }
}

char letterOf(double id) {
    if (!(id >= 0 && id <= 4)) {
        return 0;
    }
    switch (static_cast<int>(id)) {
        case 0:
        case 1:
            return 'L';
        case 2:
            return 'T';
        case 3:
        case 4:
            return 'U';
        default:
            return 0;
    }
}

RecogniseSummary readBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    RecogniseSummary summary;
    const std::vector<std::string_view> lines = splitLines(bytes);
    const std::size_t columnLine = columnLineIndex(lines);
    if (columnLine == 0) {
        summary.error = brokenFileMessage(name, {}, 0, "no column line");
        return summary;
    }
    RecognisedIndent indent;
    indent.name = baseName(name);
    for (std::size_t i = 0; i + 1 < columnLine; ++i) {
        readSettingLine(lines[i], indent);
    }
    const auto titles = splitFields(lines[columnLine], '\t');
    NumericColumns columns;
    columns.decimalMark = ',';
    const auto idColumn =
        static_cast<std::size_t>(std::find_if(titles.begin(), titles.end(),
                                              [](std::string_view t) { return trimmed(t) == "SegmentID"; }) -
                                 titles.begin());
    if (!findColumns(titles, columns)) {
        summary.error = brokenFileMessage(name, {}, columnLine + 1, "no depth and force columns");
        return summary;
    }
    summary.depthUnit = utf8(parseColumnTitle(titles[columns.depth]).unit);
    summary.forceUnit = utf8(parseColumnTitle(titles[columns.force]).unit);
    reservePoints(indent, lines.size() - columnLine);
    bool labelled = true;
    for (std::size_t i = columnLine + 1; i < lines.size(); ++i) {
        if (trimmed(lines[i]).empty()) {
            continue;
        }
        if (const std::string what = readDataRow(lines[i], columns, indent); !what.empty()) {
            summary.error = brokenFileMessage(name, {}, i + 1, what);
            return summary;
        }
        const auto fields = splitFields(lines[i], '\t');
        double id = -1;
        const char letter =
            idColumn < fields.size() && parseNumber(fields[idColumn], ',', id) ? letterOf(id) : 0;
        labelled = labelled && letter != 0;
        indent.segments += letter == 0 ? 'X' : letter;
    }
    if (indent.depthNm.size() < 3) {
        summary.error = brokenFileMessage(name, {}, lines.size(), "the file ends before its measured values");
        return summary;
    }
    indent.segmentsFrom = SegmentSource::Labels;
    if (!labelled) {
        indent.segments.clear();  // ids this reader does not know: the shape decides
    }
    summary.segmentsFrom = labelled ? SegmentSource::Labels : SegmentSource::Shape;
    summary.indents = 1;
    handIndent(indent, sink);
    return summary;
}

}  // namespace

const FormatUnit& antonPaarTextFormat() {
    static const FormatUnit unit{"Anton Paar indentation text", claims, readBytes};
    return unit;
}

}  // namespace mivaro::recognise

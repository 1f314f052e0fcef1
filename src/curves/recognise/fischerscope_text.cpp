// Fischerscope (HM2000) text: ISO-8859-1, TAB, decimal comma, mixed line
// ends. A file header ("NAME.hap\tName of the application", test
// parameters), a table of the indents and statistics, then one section per
// indent: "NAME.hap   dd.mm.yyyy  hh:mm:ss", header lines (position, results,
// fit window), the column line "F h t", then force (mN), depth (µm), time (s).
// No labels: multi-cycle tests get their segments from the shape.
#include <cctype>

#include "curves/recognise/format_unit.h"
#include "curves/recognise/text_table.h"
#include "platform/c_format.h"

namespace mivaro::recognise {
namespace {

// "NAME.hap   03.05.2021  10:11:12"
bool isSectionLine(std::string_view line) {
    const auto words = splitFields(line, ' ');
    if (words.size() != 3 || !words[0].ends_with(".hap") || words[1].size() != 10 || words[2].size() != 8) {
        return false;
    }
    return words[1][2] == '.' && words[1][5] == '.' && words[2][2] == ':' && words[2][5] == ':' &&
           std::isdigit(static_cast<unsigned char>(words[1][0])) != 0;
}

bool isColumnLine(std::string_view line) {
    const auto fields = splitFields(line, ' ');
    return fields.size() == 3 && fields[0] == "F" && fields[1] == "h" && fields[2] == "t";
}

bool claims(std::string_view head, std::string_view) {
    const auto lines = firstLines(head, 3);
    return !lines.empty() && lines[0].find(".hap\t") != std::string_view::npos &&
           lines[0].find("Name of the application") != std::string_view::npos;
}

// "x=    44.65  y=     6.01", "HIT\t[N/mm²]\t   8553.6", "We\t[µJ]\t  0.1\t 79.01%",
// "20.95%  -  95.33% Fmax     Epsilon = 0.750".
void readSectionHeaderLine(std::string_view line, RecognisedIndent& indent) {
    const std::string_view text = trimmed(line);
    if (text.empty()) {
        return;
    }
    if (text.starts_with("x=")) {
        const auto words = splitFields(text, ' ');
        double x = 0, y = 0;
        if (words.size() == 4 && words[2] == "y=" && parseNumber(words[1], ',', x) &&
            parseNumber(words[3], ',', y)) {
            indent.xUm = x;
            indent.yUm = y;
        }
        indent.metadata.emplace_back("Position", utf8(text));
        return;
    }
    if (text.find("% Fmax") != std::string_view::npos) {
        const auto words = splitFields(text, ' ');
        double lo = 0, hi = 0;
        if (words.size() >= 3 && words[1] == "-" &&
            parseNumber(words[0].substr(0, words[0].size() - 1), ',', lo) &&
            parseNumber(words[2].substr(0, words[2].size() - 1), ',', hi)) {
            indent.known.fitWindowLoPct = lo;
            indent.known.fitWindowHiPct = hi;
        }
        indent.metadata.emplace_back("Fit window", utf8(text));
        return;
    }
    const auto fields = splitFields(text, '\t');
    if (fields.size() < 3) {
        indent.metadata.emplace_back(utf8(text), "");
        return;
    }
    const std::string_view label = trimmed(fields[0]);
    std::string_view unit = trimmed(fields[1]);
    std::string value = std::string(trimmed(fields[2]));
    for (std::size_t k = 3; k < fields.size(); ++k) {
        value += " " + std::string(trimmed(fields[k]));
    }
    indent.metadata.emplace_back(utf8(label), utf8(value + " " + std::string(unit)));
    if (unit.starts_with('[') && unit.ends_with(']')) {
        unit = unit.substr(1, unit.size() - 2);
    }
    double number = 0;
    if (const char* result = instrumentResultName(label);
        result != nullptr && parseNumber(fields[2], ',', number)) {
        addInstrumentResult(indent.known, result, number, unit);
    }
}

RecogniseSummary readBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    RecogniseSummary summary;
    summary.depthUnit = "µm";
    summary.forceUnit = "mN";
    summary.segmentsFrom = SegmentSource::Shape;
    const std::vector<std::string_view> lines = splitLines(bytes);
    NumericColumns columns;
    columns.force = 0;
    columns.depth = 1;
    columns.time = 2;
    columns.depthToNm = 1e3;
    columns.decimalMark = ',';
    std::vector<std::pair<std::string, std::string>> fileHeader;
    std::size_t i = 0;
    for (; i < lines.size() && !isSectionLine(lines[i]); ++i) {
        // The application and the test parameters, before the tables of indents and statistics.
        const auto fields = splitFields(trimmed(lines[i]), '\t');
        if (i < 12 && fields.size() >= 2) {
            fileHeader.emplace_back(utf8(trimmed(fields[1])), utf8(trimmed(fields[0])));
        } else if (i < 12 && !trimmed(lines[i]).empty()) {
            fileHeader.emplace_back("Header", utf8(trimmed(lines[i])));
        }
    }
    int number = 0;
    while (i < lines.size()) {
        RecognisedIndent indent;
        indent.name = formatC("%d", ++number);
        indent.metadata = fileHeader;
        indent.metadata.emplace_back("Measured", utf8(trimmed(lines[i])));
        const std::size_t sectionLine = i;
        for (++i; i < lines.size() && !isColumnLine(lines[i]) && !isSectionLine(lines[i]); ++i) {
            readSectionHeaderLine(lines[i], indent);
        }
        if (i >= lines.size() || !isColumnLine(lines[i])) {
            summary.error = brokenFileMessage(name, indent.name, sectionLine + 1, "no column line \"F h t\"");
            return summary;
        }
        for (++i; i < lines.size() && !isSectionLine(lines[i]); ++i) {
            if (trimmed(lines[i]).empty()) {
                continue;
            }
            if (const std::string what = readDataRow(lines[i], columns, indent); !what.empty()) {
                summary.error = brokenFileMessage(name, indent.name, i + 1, what);
                return summary;
            }
        }
        if (indent.depthNm.size() < 3) {
            summary.error = brokenFileMessage(name, indent.name, i, "the indent holds no measured points");
            return summary;
        }
        ++summary.indents;
        if (!handIndent(indent, sink)) {
            return summary;
        }
    }
    if (summary.indents == 0) {
        summary.error = brokenFileMessage(name, {}, lines.size(), "no indent section");
    }
    return summary;
}

}  // namespace

const FormatUnit& fischerscopeTextFormat() {
    static const FormatUnit unit{"Fischerscope HM2000 text", claims, readBytes};
    return unit;
}

}  // namespace mivaro::recognise

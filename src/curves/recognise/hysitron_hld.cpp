// Hysitron .hld: "Key: value unit" header lines (tip area coefficients,
// machine compliance, drift, and a segment table when the controller wrote
// one), then data blocks, each announced by "... Data Points: N" and its own
// column line. The test is the block with displacement and force columns.
#include <algorithm>
#include <cmath>

#include "curves/recognise/format_unit.h"
#include "curves/recognise/text_table.h"
#include "platform/c_format.h"

namespace mivaro::recognise {
namespace {

struct Segment {
    double beginS = 0;
    double beginDemand = 0, endDemand = 0;
};

bool isBlockLine(std::string_view line) {
    const std::size_t at = line.find("Data Points:");
    return at != std::string_view::npos && line.find('\t') == std::string_view::npos;
}

bool claims(std::string_view head, std::string_view) {
    const auto lines = firstLines(head, 2000);
    if (lines.empty() || lines[0].find(": ") == std::string_view::npos) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (isBlockLine(lines[i])) {
            return true;
        }
    }
    return false;
}

// "Tip C3: -1.09e+09 nm^2/nm^0.25" -> key "Tip C3", value, unit.
void splitKeyValue(std::string_view line, std::string_view& key, double& value, std::string_view& unit,
                   bool& numeric) {
    const std::size_t colon = line.find(':');
    key = trimmed(line.substr(0, colon));
    const std::string_view rest = trimmed(line.substr(colon + 1));
    const std::size_t space = rest.find(' ');
    numeric = parseNumber(rest.substr(0, space), '.', value);
    unit = space == std::string_view::npos ? std::string_view{} : trimmed(rest.substr(space + 1));
}

void readHeaderLine(std::string_view line, RecognisedIndent& indent, std::vector<double>& tip,
                    std::vector<Segment>& table) {
    std::string_view key, unit;
    double value = 0;
    bool numeric = false;
    splitKeyValue(line, key, value, unit, numeric);
    indent.metadata.emplace_back(utf8(key), utf8(trimmed(line.substr(line.find(':') + 1))));
    if (!numeric) {
        return;
    }
    KnownMetadata& known = indent.known;
    if (key.size() == 6 && key.starts_with("Tip C") && key[5] >= '0' && key[5] <= '5') {
        const std::size_t k = static_cast<std::size_t>(key[5] - '0');
        tip.resize(std::max(tip.size(), k + 1), 0.0);
        tip[k] = value;
        if (unitKey(unit).starts_with("um")) {
            std::vector<double> one(k + 1, 0.0);
            one[k] = value;
            tip[k] = areaCoefficientsUmToNm(one)[k];
        }
    } else if (key == "Machine Comp") {
        const std::string per = unitKey(unit);
        if (per == "nm/un") {
            known.frameComplianceNmPerMn = value * 1e3;
        } else if (per == "nm/mn") {
            known.frameComplianceNmPerMn = value;
        }
    } else if (key == "Drift Rate" && unitKey(unit) == "nm/s") {
        known.driftNmPerS = value;
    } else if (key == "Segment Begin Time") {
        table.push_back({value, 0, 0});
    } else if (key == "Segment Begin Demand" && !table.empty()) {
        table.back().beginDemand = value;
    } else if (key == "Segment End Demand" && !table.empty()) {
        table.back().endDemand = value;
    }
}

// Letters by time from the demands of the segment table: ramps up load
// (reload after an unloading), ramps down unload, constant demands hold at
// the top after a rise and at the bottom after a fall (before any rise they
// are the approach: loading).
bool lettersFromTable(RecognisedIndent& indent, const std::vector<Segment>& table) {
    if (table.empty()) {
        return false;
    }
    double highest = 0;
    for (const Segment& s : table) {
        highest = std::max({highest, std::fabs(s.beginDemand), std::fabs(s.endDemand)});
    }
    if (highest <= 0) {
        return false;
    }
    std::vector<char> letter;
    char lastMove = 0;  // 'L' after a rising demand, 'U' after a falling one
    bool unloaded = false;
    for (const Segment& s : table) {
        const double change = s.endDemand - s.beginDemand;
        if (change > 0.01 * highest) {
            letter.push_back(unloaded ? 'R' : 'L');
            lastMove = 'L';
        } else if (change < -0.01 * highest) {
            letter.push_back('U');
            lastMove = 'U';
            unloaded = true;
        } else {
            letter.push_back(lastMove == 'L' ? 'T' : lastMove == 'U' ? 'B' : 'L');
        }
    }
    indent.segments.resize(indent.timeS.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < indent.timeS.size(); ++i) {
        while (k + 1 < table.size() && indent.timeS[i] >= table[k + 1].beginS) {
            ++k;
        }
        indent.segments[i] = letter[k];
    }
    indent.segmentsFrom = SegmentSource::SegmentTable;
    return true;
}

RecogniseSummary readBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    RecogniseSummary summary;
    summary.depthUnit = "nm";
    const std::vector<std::string_view> lines = splitLines(bytes);
    RecognisedIndent indent;
    indent.name = baseName(name);
    std::vector<double> tip;
    std::vector<Segment> table;
    std::size_t i = 0;
    for (; i < lines.size() && !isBlockLine(lines[i]); ++i) {
        if (lines[i].find(':') != std::string_view::npos) {
            readHeaderLine(lines[i], indent, tip, table);
        }
    }
    reservePoints(indent, lines.size() - i);
    bool found = false;
    while (i < lines.size() && !found) {
        double declared = 0;
        const std::string_view block = lines[i];
        parseNumber(block.substr(block.find("Data Points:") + 12), '.', declared);
        const std::size_t columnLine = i + 1;
        if (columnLine >= lines.size()) {
            summary.error = brokenFileMessage(name, {}, i + 1, "a data block without its column line");
            return summary;
        }
        NumericColumns columns;
        found = findColumns(splitFields(lines[columnLine], '\t'), columns);
        for (i = columnLine + 1; i < lines.size() && !isBlockLine(lines[i]); ++i) {
            if (!found || trimmed(lines[i]).empty()) {
                continue;
            }
            if (const std::string what = readDataRow(lines[i], columns, indent); !what.empty()) {
                summary.error = brokenFileMessage(name, {}, i + 1, what);
                return summary;
            }
        }
        if (found) {
            summary.forceUnit = parseColumnTitle(splitFields(lines[columnLine], '\t')[columns.force]).unit;
            summary.forceUnit = utf8(summary.forceUnit);
            if (indent.depthNm.size() < 3 || static_cast<double>(indent.depthNm.size()) < declared) {
                summary.error = brokenFileMessage(name, {}, i,
                                                  formatC("the test block ends after %zu of its %.0f points",
                                                          indent.depthNm.size(), declared));
                return summary;
            }
        }
    }
    if (!found) {
        summary.error =
            brokenFileMessage(name, {}, lines.size(), "no data block with displacement and force columns");
        return summary;
    }
    if (!tip.empty()) {  // coefficients the file leaves out are zero
        tip.resize(6, 0.0);
        indent.known.areaCoefficients = tip;
    }
    summary.segmentsFrom =
        lettersFromTable(indent, table) ? SegmentSource::SegmentTable : SegmentSource::Shape;
    summary.indents = 1;
    handIndent(indent, sink);
    return summary;
}

}  // namespace

const FormatUnit& hysitronHldFormat() {
    static const FormatUnit unit{"Hysitron .hld", claims, readBytes};
    return unit;
}

}  // namespace mivaro::recognise

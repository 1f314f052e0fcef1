// Micromaterials NanoTest text: no header, TAB, three columns time (s),
// depth (nm), load (mN), one indent per file. Exports of a run name each file
// "<name> <number> <x> <y>.txt", which gives the indent's name and position.
#include "curves/recognise/format_unit.h"
#include "curves/recognise/nanotest_member_name.h"
#include "curves/recognise/text_table.h"

namespace mivaro::recognise {
namespace {

constexpr std::size_t kSampleLines = 2000;

// Every line of the head (the last may be cut) is three numbers, and the first
// column, time, never falls: other headerless tables start with a depth.
bool claims(std::string_view head, std::string_view) {
    auto lines = firstLines(head, kSampleLines);
    if (lines.size() > 3) {
        lines.pop_back();
    }
    if (lines.size() < 3) {
        return false;
    }
    double previousTime = -1e300;
    for (const std::string_view line : lines) {
        const auto fields = splitFields(line, '\t');
        double time = 0;
        if (fields.size() != 3 || !isNumberRow(line, '\t', '.', 3) || !parseNumber(fields[0], '.', time) ||
            time < previousTime) {
            return false;
        }
        previousTime = time;
    }
    return true;
}

RecogniseSummary readBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    RecogniseSummary summary;
    summary.depthUnit = "nm";
    summary.forceUnit = "mN";
    summary.segmentsFrom = SegmentSource::Shape;
    RecognisedIndent indent;
    const std::string file = baseName(name);
    if (const auto member = parseNanoTestMemberName(file)) {
        indent.name = member->name;
        indent.xUm = member->xUm;
        indent.yUm = member->yUm;
    } else {
        indent.name = file.substr(0, file.rfind('.'));
    }
    NumericColumns columns;
    columns.time = 0;
    columns.depth = 1;
    columns.force = 2;
    const std::vector<std::string_view> lines = splitLines(bytes);
    reservePoints(indent, lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (trimmed(lines[i]).empty()) {
            continue;
        }
        std::string what = readDataRow(lines[i], columns, indent);
        if (what.empty() && indent.timeS.size() > 1 &&
            indent.timeS.back() < indent.timeS[indent.timeS.size() - 2]) {
            what = "the time falls: not a NanoTest export of time, depth and load";
        }
        if (!what.empty()) {
            summary.error = brokenFileMessage(name, indent.name, i + 1, what);
            return summary;
        }
    }
    summary.indents = 1;
    handIndent(indent, sink);
    return summary;
}

bool wholeNumber(std::string_view text, double& value) {
    return !text.empty() && parseNumber(text, '.', value);
}

}  // namespace

std::optional<NanoTestMemberName> parseNanoTestMemberName(std::string_view fileName) {
    std::string_view stem = fileName;
    if (const std::size_t slash = stem.find_last_of("/\\"); slash != std::string_view::npos) {
        stem = stem.substr(slash + 1);
    }
    if (const std::size_t dot = stem.rfind('.'); dot != std::string_view::npos) {
        stem = stem.substr(0, dot);
    }
    const auto words = splitFields(stem, ' ');
    double number = 0, x = 0, y = 0;
    if (words.size() < 4 || !wholeNumber(words[words.size() - 3], number) ||
        !wholeNumber(words[words.size() - 2], x) || !wholeNumber(words[words.size() - 1], y) || number < 0 ||
        number > 1e9 || number != static_cast<double>(static_cast<int>(number))) {
        return std::nullopt;
    }
    NanoTestMemberName parsed;
    const std::size_t nameEnd = static_cast<std::size_t>(words[words.size() - 3].data() +
                                                         words[words.size() - 3].size() - stem.data());
    parsed.name = std::string(stem.substr(0, nameEnd));
    parsed.number = static_cast<int>(number);
    parsed.xUm = x;
    parsed.yUm = y;
    return parsed;
}

const FormatUnit& nanoTestTextFormat() {
    static const FormatUnit unit{"Micromaterials NanoTest text", claims, readBytes};
    return unit;
}

}  // namespace mivaro::recognise

// Any delimited text with a column-title line naming a depth and a force with
// their units (the general case; instrument formats with a header of their
// own come before it in the table). Segments from the shape.
#include "curves/recognise/delimited_table.h"
#include "curves/recognise/format_unit.h"

namespace mivaro::recognise {
namespace {

bool claims(std::string_view head, std::string_view) {
    auto lines = firstLines(head, 320);
    if (lines.size() == 320) {
        lines.pop_back();  // may be cut by the head's end
    }
    return findTitledTable(lines, findColumns).has_value();
}

RecogniseSummary readBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    const std::vector<std::string_view> lines = splitLines(bytes);
    const auto table = findTitledTable(lines, findColumns);
    if (!table) {
        RecogniseSummary summary;
        summary.error = brokenFileMessage(name, {}, 0, "no column-title line with depth and force");
        return summary;
    }
    RecognisedIndent indent;
    indent.name = baseName(name);
    return readTitledTable(lines, *table, name, indent, sink);
}

}  // namespace

const FormatUnit& delimitedTextFormat() {
    static const FormatUnit unit{"Delimited text with column titles", claims, readBytes};
    return unit;
}

}  // namespace mivaro::recognise

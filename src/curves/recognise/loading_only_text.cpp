// Exports that hold no unloading: dynamic (nanoDMA) tables, averaged CSM depth
// profiles and AFM force curves. They are told apart by their column titles;
// every point is loading, and the summary says that there is nothing to
// unload.
#include <algorithm>

#include "curves/recognise/delimited_table.h"
#include "curves/recognise/format_unit.h"

namespace mivaro::recognise {
namespace {

enum class Kind { None, NanoDma, CsmProfile, AfmForceCurve };

const char* kindName(Kind kind) {
    switch (kind) {
        case Kind::NanoDma:
            return "nanoDMA table";
        case Kind::CsmProfile:
            return "CSM depth profile";
        case Kind::AfmForceCurve:
            return "AFM force curve";
        case Kind::None:
            break;
    }
    return "";
}

bool anyTitleHas(const std::vector<std::string_view>& titles, std::string_view word) {
    return std::any_of(titles.begin(), titles.end(), [&](std::string_view t) {
        return parseColumnTitle(t).name.find(word) != std::string::npos;
    });
}

Kind kindOf(const std::vector<std::string_view>& titles) {
    if (anyTitleHas(titles, "storage") || anyTitleHas(titles, "loss modulus") ||
        anyTitleHas(titles, "tan delta") || anyTitleHas(titles, "tan(delta)")) {
        return Kind::NanoDma;
    }
    if (anyTitleHas(titles, "hardness") && anyTitleHas(titles, "modulus")) {
        return Kind::CsmProfile;
    }
    if (anyTitleHas(titles, "deflection")) {
        return Kind::AfmForceCurve;
    }
    return Kind::None;
}

// The general titles, and for force curves the AFM's own: height or piezo
// position as depth, deflection force as force.
bool findLoadingColumns(const std::vector<std::string_view>& titles, NumericColumns& columns) {
    const Kind kind = kindOf(titles);
    if (kind == Kind::None) {
        return false;
    }
    if (findColumns(titles, columns) || kind != Kind::AfmForceCurve) {
        return columns.depth != NumericColumns::kNone && columns.force != NumericColumns::kNone;
    }
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const ColumnTitle title = parseColumnTitle(titles[i]);
        const bool depthName = title.name.starts_with("height") || title.name.starts_with("piezo") ||
                               title.name.starts_with("z ") || title.name == "z";
        if (columns.depth == NumericColumns::kNone && depthName && depthFactorToNm(title.unit)) {
            columns.depth = i;
            columns.depthToNm = *depthFactorToNm(title.unit);
        } else if (columns.force == NumericColumns::kNone &&
                   title.name.find("deflection") != std::string::npos && forceFactorToMn(title.unit)) {
            columns.force = i;
            columns.forceToMn = *forceFactorToMn(title.unit);
        }
    }
    return columns.depth != NumericColumns::kNone && columns.force != NumericColumns::kNone;
}

bool claims(std::string_view head, std::string_view) {
    auto lines = firstLines(head, 320);
    if (lines.size() == 320) {
        lines.pop_back();
    }
    return findTitledTable(lines, findLoadingColumns).has_value();
}

RecogniseSummary readBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    const std::vector<std::string_view> lines = splitLines(bytes);
    const auto table = findTitledTable(lines, findLoadingColumns);
    if (!table) {
        RecogniseSummary summary;
        summary.error = brokenFileMessage(name, {}, 0, "no column-title line with depth and force");
        return summary;
    }
    RecognisedIndent indent;
    indent.name = baseName(name);
    indent.hasUnloading = false;
    indent.metadata.emplace_back("Kind", kindName(kindOf(table->titles)));
    RecogniseSummary summary = readTitledTable(lines, *table, name, indent, sink);
    summary.format = std::string(kindName(kindOf(table->titles))) + " (loading only)";
    return summary;
}

}  // namespace

const FormatUnit& loadingOnlyTextFormat() {
    static const FormatUnit unit{"Loading-only export", claims, readBytes};
    return unit;
}

}  // namespace mivaro::recognise

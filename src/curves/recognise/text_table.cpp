#include "curves/recognise/text_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "curves/decimal_conversion.h"
#include "curves/recognise/segments_from_shape.h"
#include "platform/c_format.h"
#include "platform/text_encoding.h"

namespace mivaro::recognise {
namespace {

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

template <std::size_t N>
std::optional<double> lookUp(std::string_view unit, const std::pair<const char*, double> (&table)[N]) {
    const std::string key = unitKey(unit);
    for (const auto& [name, factor] : table) {
        if (key == name) {
            return factor;
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string_view> firstLines(std::string_view bytes, std::size_t maxLines) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    const char* const data = bytes.data();
    const std::size_t size = bytes.size();
    // The next LF and CR, each searched once (memchr) rather than byte by byte.
    const auto next = [&](char c, std::size_t from) {
        const void* at = from < size ? std::memchr(data + from, c, size - from) : nullptr;
        return at == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(at) - data);
    };
    std::vector<std::string_view> lines;
    lines.reserve(std::min(maxLines, size / 16 + 1));
    std::size_t begin = 0, lf = next('\n', 0), cr = next('\r', 0);
    while (begin < size && lines.size() < maxLines) {
        if (lf < begin) {
            lf = next('\n', begin);
        }
        if (cr < begin) {
            cr = next('\r', begin);
        }
        std::size_t end = std::min(lf, cr);
        lines.push_back(bytes.substr(begin, end - begin));
        if (end == cr && end + 1 == lf) {
            ++end;
        }
        begin = end + 1;
    }
    return lines;
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
    return firstLines(bytes, static_cast<std::size_t>(-1));
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> splitFields(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    if (separator == ' ') {
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
                ++i;
            }
            const std::size_t begin = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                ++i;
            }
            if (i > begin) {
                fields.push_back(line.substr(begin, i - begin));
            }
        }
        return fields;
    }
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == separator) {
            fields.push_back(line.substr(begin, i - begin));
            begin = i + 1;
        }
    }
    return fields;
}

bool parseNumber(std::string_view field, char decimalMark, double& value) {
    field = trimmed(field);
    if (field.empty() || field.size() > 64) {
        return false;
    }
    const char* begin = field.data();
    char text[65];
    if (decimalMark != '.') {
        std::memcpy(text, field.data(), field.size());
        for (std::size_t i = 0; i < field.size(); ++i) {
            if (text[i] == decimalMark) {
                text[i] = '.';
            } else if (text[i] == '.') {
                return false;  // "1.234,5": thousands marks are not numbers here
            }
        }
        begin = text;
    }
    const std::size_t used = scanDecimal(begin, begin + field.size(), value);
    return used == field.size() && std::isfinite(value);
}

bool isNumberRow(std::string_view line, char separator, char decimalMark, std::size_t minFields) {
    const auto fields = splitFields(trimmed(line), separator);
    if (fields.size() < minFields) {
        return false;
    }
    double value = 0;
    for (const std::string_view field : fields) {
        if (!parseNumber(field, decimalMark, value)) {
            return false;
        }
    }
    return true;
}

char detectSeparator(const std::vector<std::string_view>& dataLines, char& decimalMark) {
    if (dataLines.empty()) {
        return 0;
    }
    for (const char separator : {'\t', ';', ',', ' '}) {
        for (const char mark : {'.', ','}) {
            if (mark == separator) {
                continue;
            }
            std::size_t count = 0;
            bool same = true;
            for (const std::string_view line : dataLines) {
                const auto fields = splitFields(trimmed(line), separator);
                if (!isNumberRow(line, separator, mark, 2) || (count != 0 && fields.size() != count)) {
                    same = false;
                    break;
                }
                count = fields.size();
            }
            if (same) {
                decimalMark = mark;
                return separator;
            }
        }
    }
    return 0;
}

std::string utf8(std::string_view bytes) {
    return displayTextUtf8(bytes);
}

std::string unitKey(std::string_view unit) {
    std::string key;
    const std::string text = utf8(trimmed(unit));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c == 0xC2 || c == 0xCE) && i + 1 < text.size() &&
            (static_cast<unsigned char>(text[i + 1]) == 0xB5 ||
             static_cast<unsigned char>(text[i + 1]) == 0xBC)) {
            key += 'u';
            ++i;
        } else if (c < 0x80) {
            key += static_cast<char>(std::tolower(c));
        } else {
            key += text[i];
        }
    }
    return key;
}

std::optional<double> depthFactorToNm(std::string_view unit) {
    static const std::pair<const char*, double> table[] = {
        {"nm", 1.0}, {"um", 1e3}, {"mm", 1e6}, {"m", 1e9}, {"pm", 1e-3}};
    return lookUp(unit, table);
}

std::optional<double> forceFactorToMn(std::string_view unit) {
    static const std::pair<const char*, double> table[] = {
        {"mn", 1.0}, {"un", 1e-3}, {"nn", 1e-6}, {"pn", 1e-9}, {"n", 1e3}};
    return lookUp(unit, table);
}

std::vector<double> areaCoefficientsUmToNm(const std::vector<double>& coefficientsUm) {
    // C_k hc^e_k in um^2 with hc in um; in nm: times 10^(6 - 3 e_k).
    static constexpr double kExponents[] = {2, 1, 0.5, 0.25, 0.125, 0.0625};
    std::vector<double> nm = coefficientsUm;
    for (std::size_t k = 0; k < nm.size() && k < 6; ++k) {
        nm[k] *= std::pow(10.0, 6 - 3 * kExponents[k]);
    }
    return nm;
}

std::string brokenFileMessage(const std::string& file, const std::string& indent, std::size_t line,
                              const std::string& what) {
    std::string text = utf8(file) + ":";
    if (!indent.empty()) {
        text += " indent " + utf8(indent) + (line != 0 ? "," : ":");
    }
    if (line != 0) {
        text += formatC(" line %zu:", line);
    }
    return text + " " + what;
}

bool addInstrumentResult(KnownMetadata& known, const char* name, double value, std::string_view unit) {
    static const std::pair<const char*, double> pressureMpa[] = {
        {"mpa", 1.0}, {"n/mm2", 1.0}, {"n/mm²", 1.0}, {"gpa", 1e3}, {"pa", 1e-6}};
    static const std::pair<const char*, double> modulusGpa[] = {
        {"gpa", 1.0}, {"mpa", 1e-3}, {"n/mm2", 1e-3}, {"n/mm²", 1e-3}};
    static const std::pair<const char*, double> stiffness[] = {
        {"mn/nm", 1.0}, {"mn/um", 1e-3}, {"un/nm", 1e-3}, {"n/m", 1e-6}, {"n/mm", 1e-3}};
    static const std::pair<const char*, double> energyPj[] = {{"pj", 1.0}, {"nj", 1e3}, {"uj", 1e6},
                                                              {"mj", 1e9}, {"j", 1e12}, {"nnm", 1e-3}};
    static const std::pair<const char*, double> percent[] = {{"%", 1.0}, {"", 1.0}};
    const std::string_view id = name;
    std::optional<double> factor;
    if (endsWith(id, "_MPa")) {
        factor = lookUp(unit, pressureMpa);
    } else if (endsWith(id, "_GPa")) {
        factor = lookUp(unit, modulusGpa);
    } else if (endsWith(id, "_mN_per_nm")) {
        factor = lookUp(unit, stiffness);
    } else if (endsWith(id, "_nm")) {
        factor = depthFactorToNm(unit);
    } else if (endsWith(id, "_mN")) {
        factor = forceFactorToMn(unit);
    } else if (endsWith(id, "_pJ")) {
        factor = lookUp(unit, energyPj);
    } else if (endsWith(id, "_pct")) {
        factor = lookUp(unit, percent);
    }
    if (!factor || !std::isfinite(value)) {
        return false;
    }
    known.instrumentResults.emplace_back(name, value * *factor);
    return true;
}

std::string baseName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

ColumnTitle parseColumnTitle(std::string_view cell) {
    cell = trimmed(cell);
    ColumnTitle title;
    std::string_view name = cell;
    const std::size_t open = cell.find_first_of("([");
    if (open != std::string_view::npos) {
        const std::size_t close = cell.find_first_of(")]", open);
        name = cell.substr(0, open);
        title.unit = std::string(trimmed(
            cell.substr(open + 1, (close == std::string_view::npos ? cell.size() : close) - open - 1)));
    } else if (const std::size_t underscore = cell.rfind('_'); underscore != std::string_view::npos) {
        name = cell.substr(0, underscore);
        title.unit = std::string(cell.substr(underscore + 1));
    }
    for (const char c : trimmed(name)) {
        title.name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return title;
}

Quantity quantityOf(const ColumnTitle& title) {
    const std::string_view name = title.name;
    const std::string_view first = name.substr(0, name.find_first_of(" _-/"));
    static constexpr std::string_view depthWords[] = {"depth", "displacement", "disp",
                                                      "h",     "pd",           "indentation"};
    static constexpr std::string_view forceWords[] = {"load", "force", "p", "f", "fn"};
    for (const std::string_view word : depthWords) {
        if (first == word && depthFactorToNm(title.unit)) {
            return Quantity::Depth;
        }
    }
    for (const std::string_view word : forceWords) {
        if (first == word && forceFactorToMn(title.unit)) {
            return Quantity::Force;
        }
    }
    if ((first == "time" || first == "t") && (title.unit.empty() || unitKey(title.unit) == "s")) {
        return Quantity::Time;
    }
    return Quantity::Other;
}

bool findColumns(const std::vector<std::string_view>& titles, NumericColumns& columns) {
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const ColumnTitle title = parseColumnTitle(titles[i]);
        switch (quantityOf(title)) {
            case Quantity::Depth:
                if (columns.depth == NumericColumns::kNone) {
                    columns.depth = i;
                    columns.depthToNm = *depthFactorToNm(title.unit);
                }
                break;
            case Quantity::Force:
                if (columns.force == NumericColumns::kNone) {
                    columns.force = i;
                    columns.forceToMn = *forceFactorToMn(title.unit);
                }
                break;
            case Quantity::Time:
                if (columns.time == NumericColumns::kNone) {
                    columns.time = i;
                }
                break;
            case Quantity::Other:
                break;
        }
    }
    return columns.depth != NumericColumns::kNone && columns.force != NumericColumns::kNone;
}

std::string readDataRow(std::string_view line, const NumericColumns& columns, RecognisedIndent& indent) {
    if (columns.separator == ' ') {
        line = trimmed(line);
    }
    const bool hasTime = columns.time != NumericColumns::kNone;
    std::size_t needed = std::max(columns.depth, columns.force) + 1;
    if (hasTime) {
        needed = std::max(needed, columns.time + 1);
    }
    // Walks the fields without building a list of them: one row of many.
    double values[3] = {0, 0, 0};
    const std::size_t wanted[3] = {columns.depth, columns.force,
                                   hasTime ? columns.time : NumericColumns::kNone};
    std::size_t column = 0, i = 0;
    bool numbers = true;
    while (column < needed && i <= line.size()) {
        if (columns.separator == ' ') {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
                ++i;
            }
            if (i >= line.size()) {
                break;
            }
        }
        std::size_t end = i;
        while (end < line.size() && line[end] != columns.separator &&
               !(columns.separator == ' ' && line[end] == '\t')) {
            ++end;
        }
        for (int k = 0; k < 3; ++k) {
            if (wanted[k] == column &&
                !parseNumber(line.substr(i, end - i), columns.decimalMark, values[k])) {
                numbers = false;
            }
        }
        ++column;
        i = end + 1;
    }
    if (column < needed) {
        return formatC("the line holds %zu columns, %zu are needed", column, needed);
    }
    if (!numbers) {
        return "a depth, force or time is not a number";
    }
    indent.depthNm.push_back(values[0] * columns.depthToNm);
    indent.forceMn.push_back(values[1] * columns.forceToMn);
    indent.timeS.push_back(values[2]);
    return {};
}

const char* instrumentResultName(std::string_view label) {
    static const std::pair<std::string_view, const char*> names[] = {
        {"hit", "HIT_MPa"},  {"eit", "EIT_GPa"},      {"er", "Er_GPa"},       {"hm", "HM_MPa"},
        {"hmax", "hmax_nm"}, {"hr", "hr_nm"},         {"hc", "hc_nm"},        {"s", "S_mN_per_nm"},
        {"fmax", "Fmax_mN"}, {"wtotal", "Wtotal_pJ"}, {"wt", "Wtotal_pJ"},    {"welast", "Welast_pJ"},
        {"we", "Welast_pJ"}, {"nit", "etaIT_pct"},    {"etait", "etaIT_pct"}, {"cit", "CIT_pct"}};
    std::string key;
    // "HIT(O&P)=": the method in brackets names no other result
    for (const char c : trimmed(label.substr(0, label.find_first_of("([")))) {
        if (c != '=' && c != ' ') {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    for (const auto& [text, name] : names) {
        if (key == text) {
            return name;
        }
    }
    return nullptr;
}

void reservePoints(RecognisedIndent& indent, std::size_t points) {
    indent.depthNm.reserve(points);
    indent.forceMn.reserve(points);
    indent.timeS.reserve(points);
}

bool handIndent(RecognisedIndent& indent, const IndentSink& sink) {
    if (indent.segments.size() != indent.depthNm.size()) {
        indent.segments = segmentsFromShape(indent.forceMn, indent.depthNm);
        indent.segmentsFrom = SegmentSource::Shape;
    }
    if (indent.timeS.size() != indent.depthNm.size()) {
        indent.timeS.assign(indent.depthNm.size(), 0.0);
    }
    if (!indent.hasUnloading) {
        indent.segments.assign(indent.depthNm.size(), 'L');
    }
    return sink(indent);
}

}  // namespace mivaro::recognise

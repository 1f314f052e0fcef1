// KLA / Agilent Nano Indenter workbooks (Excel BIFF8), read with FreeXL: one
// sheet per test whose first row names the channels and second row gives
// their units, a "Results" sheet and input sheets of one row per test.
#include <freexl.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "curves/recognise/format_unit.h"
#include "curves/recognise/segments_from_shape.h"
#include "curves/recognise/workbook_segments.h"
#include "platform/c_format.h"
#include "platform/safe_file_write.h"

namespace mivaro::recognise {
namespace {

constexpr const char* kFormatName = "KLA/Agilent Nano Indenter workbook";
constexpr std::string_view kCompoundFileMagic{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};

// The workbook's own "no value" (the largest double) fills channels a row lacks.
constexpr double kNoValue = 1e300;

class Workbook {
  public:
    explicit Workbook(const std::string& path) { m_status = freexl_open(path.c_str(), &m_handle); }
    ~Workbook() {
        if (m_handle != nullptr) {
            freexl_close(m_handle);
        }
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    bool ok() const { return m_status == FREEXL_OK && m_handle != nullptr; }
    int status() const { return m_status; }

    unsigned sheetCount() const {
        unsigned count = 0;
        return freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count) == FREEXL_OK ? count : 0;
    }
    std::string sheetName(unsigned sheet) const {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(m_handle, static_cast<unsigned short>(sheet), &name) != FREEXL_OK ||
            name == nullptr) {
            return {};
        }
        return name;
    }
    // Makes the sheet the one cells are read from; false when it cannot be read.
    bool select(unsigned sheet) {
        m_rows = 0;
        m_columns = 0;
        if (freexl_select_active_worksheet(m_handle, static_cast<unsigned short>(sheet)) != FREEXL_OK) {
            return false;
        }
        unsigned rows = 0;
        unsigned short columns = 0;
        if (freexl_worksheet_dimensions(m_handle, &rows, &columns) != FREEXL_OK) {
            return false;
        }
        m_rows = rows;
        m_columns = columns;
        return true;
    }
    unsigned rows() const { return m_rows; }
    unsigned columns() const { return m_columns; }

    std::string text(unsigned row, unsigned column) const {
        FreeXL_CellValue cell{};
        if (!get(row, column, cell)) {
            return {};
        }
        switch (cell.type) {
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                return cell.value.text_value != nullptr ? trimmed(cell.value.text_value) : std::string();
            case FREEXL_CELL_INT:
                return std::to_string(cell.value.int_value);
            case FREEXL_CELL_DOUBLE:
                return formatC("%.10g", cell.value.double_value);
            default:
                return {};
        }
    }
    // A number cell's value; nothing for text, empty cells and the "no value" filler.
    std::optional<double> number(unsigned row, unsigned column) const {
        FreeXL_CellValue cell{};
        if (!get(row, column, cell)) {
            return std::nullopt;
        }
        double value = 0;
        if (cell.type == FREEXL_CELL_INT) {
            value = cell.value.int_value;
        } else if (cell.type == FREEXL_CELL_DOUBLE) {
            value = cell.value.double_value;
        } else {
            return std::nullopt;
        }
        if (!std::isfinite(value) || std::fabs(value) >= kNoValue) {
            return std::nullopt;
        }
        return value;
    }

    static std::string trimmed(std::string_view text) {
        const auto first = text.find_first_not_of(" \t\r\n");
        if (first == std::string_view::npos) {
            return {};
        }
        return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
    }

  private:
    bool get(unsigned row, unsigned column, FreeXL_CellValue& cell) const {
        return row < m_rows && column < m_columns &&
               freexl_get_cell_value(m_handle, row, static_cast<unsigned short>(column), &cell) == FREEXL_OK;
    }

    const void* m_handle = nullptr;
    int m_status = FREEXL_OK;
    unsigned m_rows = 0;
    unsigned m_columns = 0;
};

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// "Test 001" -> 1; nothing for other sheet names.
std::optional<int> testNumberOf(const std::string& sheet) {
    if (!startsWith(sheet, "Test")) {
        return std::nullopt;
    }
    int number = 0;
    std::size_t consumed = 0;
    const std::string_view rest = std::string_view(sheet).substr(4);
    const std::size_t digits = rest.find_first_not_of(' ');
    if (digits == std::string_view::npos || !scanCInt(rest.substr(digits), number, &consumed) ||
        digits + consumed != rest.size()) {
        return std::nullopt;
    }
    return number;
}

struct Channel {
    int column = -1;
    double factor = 1;
    std::string_view unit;  // as the unit table spells it
};

// The first column whose name is `exact`, else the first starting with `prefix`.
int findColumn(const Workbook& book, std::string_view exact, std::string_view prefix) {
    int byPrefix = -1;
    for (unsigned c = 0; c < book.columns(); ++c) {
        const std::string name = book.text(0, c);
        if (name == exact) {
            return static_cast<int>(c);
        }
        if (byPrefix < 0 && startsWith(name, prefix)) {
            byPrefix = static_cast<int>(c);
        }
    }
    return byPrefix;
}

struct UnitFactor {
    const char* unit;
    double factor;
};
constexpr UnitFactor kDepthUnits[] = {{"nm", 1}, {"um", 1e3}, {"\xC2\xB5m", 1e3}, {"mm", 1e6}, {"m", 1e9}};
constexpr UnitFactor kForceUnits[] = {{"mN", 1}, {"uN", 1e-3}, {"\xC2\xB5N", 1e-3}, {"N", 1e3}};
constexpr UnitFactor kTimeUnits[] = {{"s", 1}, {"ms", 1e-3}};

// The channel's unit from row 2 (empty: the instrument's default, the first
// of the table); false for a unit the table does not know.
template <std::size_t N>
bool unitOf(const Workbook& book, Channel& channel, const UnitFactor (&units)[N]) {
    const std::string given = book.text(1, static_cast<unsigned>(channel.column));
    for (const UnitFactor& u : units) {
        if (given.empty() || given == u.unit) {
            channel.factor = u.factor;
            channel.unit = u.unit;
            return true;
        }
    }
    return false;
}

std::string unitCell(const Workbook& book, const Channel& channel) {
    return book.text(1, static_cast<unsigned>(channel.column));
}

struct TestChannels {
    int segment = -1;
    Channel depth, force, time;
    bool driftCorrectedDepth = false;
};

// The channels of the selected test sheet; an empty string, or what is wrong.
std::string findChannels(const Workbook& book, TestChannels& channels) {
    channels.segment = findColumn(book, "Segment", "Segment");
    channels.depth.column = findColumn(book, "Displacement Into Surface", "Displacement");
    channels.force.column = findColumn(book, "Load On Sample", "Load");
    channels.time.column = findColumn(book, "Time On Sample", "Time");
    if (channels.depth.column < 0 || channels.force.column < 0) {
        return "it has no \"Displacement Into Surface\" and \"Load On Sample\" columns in row 1";
    }
    channels.driftCorrectedDepth =
        book.text(0, static_cast<unsigned>(channels.depth.column)) == "Displacement Into Surface";
    if (!unitOf(book, channels.depth, kDepthUnits)) {
        return "the displacement's unit \"" + unitCell(book, channels.depth) + "\" in row 2 is not a length";
    }
    if (!unitOf(book, channels.force, kForceUnits)) {
        return "the load's unit \"" + unitCell(book, channels.force) + "\" in row 2 is not a force";
    }
    if (channels.time.column >= 0 && !unitOf(book, channels.time, kTimeUnits)) {
        return "the time's unit \"" + unitCell(book, channels.time) + "\" in row 2 is not a time";
    }
    return {};
}

// One test's rows of the results and input sheets: (name, value unit) pairs
// in sheet order, with the numbers the program uses.
struct TestTables {
    std::vector<std::pair<std::string, std::string>> metadata;
    KnownMetadata known;
    std::optional<double> xUm, yUm;
};

void takeKnown(TestTables& tables, const std::string& name, const std::string& unit, double value) {
    KnownMetadata& known = tables.known;
    if (name == "Drift Correction" && (unit == "nm/s" || unit.empty())) {
        known.driftNmPerS = value;
    } else if (startsWith(name, "Area Coefficient ")) {
        int k = 0;
        if (scanCInt(std::string_view(name).substr(17), k) && k >= 1 && k <= 6) {
            if (!known.areaCoefficients) {
                known.areaCoefficients = std::vector<double>(6, 0.0);
            }
            (*known.areaCoefficients)[static_cast<std::size_t>(k - 1)] = value;
        }
    } else if (name == "Poissons Ratio" || name == "Poisson's Ratio") {
        known.poissonRatio = value;
    } else if (name == "X Test Position" && unit == "um") {
        tables.xUm = value;
    } else if (name == "Y Test Position" && unit == "um") {
        tables.yUm = value;
    } else if (name == "E Average Over Defined Range" && unit == "GPa") {
        known.instrumentResults.emplace_back("EIT_GPa", value);
    } else if (name == "H Average Over Defined Range" && unit == "GPa") {
        known.instrumentResults.emplace_back("HIT_MPa", value * 1000);
    }
}

// Every sheet of one row per test ("Results", the input sheets): their rows
// by test number. Small, so read once before the tests.
std::map<int, TestTables> readTestTables(Workbook& book) {
    std::map<int, TestTables> tables;
    const unsigned sheets = book.sheetCount();
    for (unsigned s = 0; s < sheets; ++s) {
        if (testNumberOf(book.sheetName(s)) || !book.select(s) || book.text(0, 0) != "Test") {
            continue;
        }
        for (unsigned r = 2; r < book.rows(); ++r) {
            int test = 0;
            std::size_t consumed = 0;
            const std::string id = book.text(r, 0);
            if (!scanCInt(id, test, &consumed) || consumed != id.size()) {
                continue;  // "Mean", "Std. Dev." and the like
            }
            TestTables& t = tables[test];
            for (unsigned c = 1; c < book.columns(); ++c) {
                const std::string name = book.text(0, c);
                const std::string unit = book.text(1, c);
                const std::string value = book.text(r, c);
                if (name.empty() || value.empty()) {
                    continue;
                }
                t.metadata.emplace_back(name, unit.empty() ? value : value + " " + unit);
                if (const auto number = book.number(r, c)) {
                    takeKnown(t, name, unit, *number);
                }
            }
        }
    }
    return tables;
}

// Reads the selected test sheet into the indent; an empty string, or what is wrong.
std::string readTestSheet(const Workbook& book, RecognisedIndent& indent, bool& driftCorrected) {
    TestChannels ch;
    if (std::string why = findChannels(book, ch); !why.empty()) {
        return why;
    }
    driftCorrected = ch.driftCorrectedDepth;
    WorkbookSegments segments;
    const auto depthColumn = static_cast<unsigned>(ch.depth.column);
    const auto forceColumn = static_cast<unsigned>(ch.force.column);
    for (unsigned r = 2; r < book.rows(); ++r) {
        if (ch.segment >= 0) {
            // A marker row without numbers (END) still opens what follows.
            segments.marker(book.text(r, static_cast<unsigned>(ch.segment)));
        }
        const auto depth = book.number(r, depthColumn);
        const auto force = book.number(r, forceColumn);
        if (!depth || !force) {
            continue;
        }
        double time = 0;
        if (ch.time.column >= 0) {
            time = book.number(r, static_cast<unsigned>(ch.time.column)).value_or(0.0) * ch.time.factor;
        }
        indent.depthNm.push_back(*depth * ch.depth.factor);
        indent.forceMn.push_back(*force * ch.force.factor);
        indent.timeS.push_back(time);
        segments.point();
    }
    if (indent.depthNm.empty()) {
        return "it holds no rows with displacement and load";
    }
    if (segments.complete()) {
        indent.segments = segments.letters();
        indent.segmentsFrom = SegmentSource::Labels;
    } else {
        indent.segments = segmentsFromShape(indent.forceMn, indent.depthNm);
        indent.segmentsFrom = SegmentSource::Shape;
    }
    return {};
}

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

RecogniseSummary readWorkbook(const std::string& path, const std::string& shownName, const IndentSink& sink) {
    RecogniseSummary summary;
    Workbook book(path);
    if (!book.ok()) {
        summary.error = formatC("%s: the workbook cannot be read (FreeXL error %d); the file may be damaged.",
                                shownName.c_str(), book.status());
        return summary;
    }
    const std::map<int, TestTables> tables = readTestTables(book);
    std::vector<std::string> problems;
    const unsigned sheets = book.sheetCount();
    bool anyTestSheet = false;
    for (unsigned s = 0; s < sheets; ++s) {
        const std::string sheet = book.sheetName(s);
        const auto number = testNumberOf(sheet);
        if (!book.select(s)) {
            if (number) {
                problems.push_back(shownName + ", sheet \"" + sheet + "\": the sheet cannot be read.");
            }
            continue;
        }
        if (!number && findColumn(book, "Load On Sample", "Load On Sample") < 0) {
            continue;  // results, inputs, empty sheets
        }
        anyTestSheet = true;
        RecognisedIndent indent;
        indent.name = sheet;
        bool driftCorrected = false;
        if (const std::string why = readTestSheet(book, indent, driftCorrected); !why.empty()) {
            problems.push_back(shownName + ", indent \"" + sheet + "\", sheet \"" + sheet + "\": " + why +
                               ".");
            continue;
        }
        if (number) {
            if (const auto t = tables.find(*number); t != tables.end()) {
                indent.metadata = t->second.metadata;
                indent.known = t->second.known;
                indent.xUm = t->second.xUm;
                indent.yUm = t->second.yUm;
            }
        }
        indent.known.depthDriftCorrected = driftCorrected;
        if (summary.indents == 0) {
            summary.segmentsFrom = indent.segmentsFrom;
            TestChannels ch;
            findChannels(book, ch);
            summary.depthUnit = std::string(ch.depth.unit);
            summary.forceUnit = std::string(ch.force.unit);
        }
        ++summary.indents;
        if (!sink(indent)) {
            break;
        }
    }
    if (!anyTestSheet) {
        problems.push_back(shownName +
                           ": no sheet of the workbook holds the \"Displacement Into Surface\" and \"Load On "
                           "Sample\" channels.");
    }
    for (const std::string& p : problems) {
        summary.error += (summary.error.empty() ? "" : "\n") + p;
    }
    return summary;
}

bool claimsWorkbook(std::string_view head, std::string_view) {
    return head.substr(0, kCompoundFileMagic.size()) == kCompoundFileMagic;
}

RecogniseSummary readWorkbookFile(const std::string& path, const IndentSink& sink) {
    return readWorkbook(path, fileNameOf(path), sink);
}

// FreeXL opens paths only: a workbook inside an archive goes through a
// temporary file, removed again whatever happens.
RecogniseSummary readWorkbookBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    std::random_device random;
    const std::string temporary =
        (folder / formatC("mivaro-workbook-%08x%08x.xls", random(), random())).string();
    std::string error;
    if (ec ||
        !saveFileSafely(
            temporary, [&](std::ostream& out) { out.write(bytes.data(), std::streamsize(bytes.size())); },
            error)) {
        RecogniseSummary summary;
        summary.error = name + ": the workbook could not be unpacked to a temporary file. " + error;
        return summary;
    }
    RecogniseSummary summary = readWorkbook(temporary, name, sink);
    std::filesystem::remove(temporary, ec);
    return summary;
}

// The dialog's line: the test sheets counted, units and markers of the first.
RecogniseSummary sniffWorkbook(const std::string& path) {
    RecogniseSummary summary;
    Workbook book(path);
    if (!book.ok()) {
        summary.error = fileNameOf(path) + ": the workbook cannot be read; the file may be damaged.";
        return summary;
    }
    const unsigned sheets = book.sheetCount();
    for (unsigned s = 0; s < sheets; ++s) {
        if (!testNumberOf(book.sheetName(s)) || !book.select(s)) {
            continue;
        }
        TestChannels ch;
        if (summary.indents == 0 && findChannels(book, ch).empty()) {
            summary.depthUnit = std::string(ch.depth.unit);
            summary.forceUnit = std::string(ch.force.unit);
            summary.segmentsFrom = ch.segment >= 0 ? SegmentSource::Labels : SegmentSource::Shape;
        }
        ++summary.indents;
    }
    return summary;
}

}  // namespace

const FormatUnit& xlsWorkbookFormat() {
    static const FormatUnit unit{kFormatName, claimsWorkbook, readWorkbookBytes, readWorkbookFile,
                                 sniffWorkbook};
    return unit;
}

}  // namespace mivaro::recognise

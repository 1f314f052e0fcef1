#pragma once

// What the text format units share: lines of a file held in memory, fields,
// numbers with either decimal mark, units and the messages for broken files.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "curves/recognise/recognised_file.h"

namespace mivaro::recognise {

// The lines of bytes (LF, CR LF or a lone CR end a line; a UTF-8 byte order
// mark is skipped). Line numbers in messages are index + 1.
std::vector<std::string_view> splitLines(std::string_view bytes);

// Lines from the start of bytes, at most maxLines (cheap claims on a head).
std::vector<std::string_view> firstLines(std::string_view bytes, std::size_t maxLines);

std::string_view trimmed(std::string_view text);

// Fields split at every separator; ' ' splits at runs of blanks and tabs.
std::vector<std::string_view> splitFields(std::string_view line, char separator);

// The whole field (blanks around it allowed) as a number with the given
// decimal mark: "1.5e3", "-0,25". False for anything else, "nan" included.
bool parseNumber(std::string_view field, char decimalMark, double& value);

// True when the line holds at least minFields fields and every one is a number.
bool isNumberRow(std::string_view line, char separator, char decimalMark, std::size_t minFields);

// The separator of data lines: tab, ';', ',' or blanks, by which gives the
// same count (two or more) of numeric fields on every sampled line; 0 when none.
char detectSeparator(const std::vector<std::string_view>& dataLines, char& decimalMark);

// Text for names and metadata: the bytes when valid UTF-8, else Latin-1.
std::string utf8(std::string_view bytes);

// Lower-case ASCII, with every form of micro (0xB5, U+00B5, U+03BC, 'u'
// before a unit letter) written as 'u': "µN" -> "un", "μm" -> "um".
std::string unitKey(std::string_view unit);

// Factors to the program's units; nothing for a unit it does not know.
std::optional<double> depthFactorToNm(std::string_view unit);  // nm, um, mm, m
std::optional<double> forceFactorToMn(std::string_view unit);  // nN, uN, mN, N

// Area coefficients C0..C5 of Ap(hc) given with hc and Ap in um, in nm.
std::vector<double> areaCoefficientsUmToNm(const std::vector<double>& coefficientsUm);

// "FILE: indent NAME, line N: WHAT" (indent left out when empty, line when 0).
std::string brokenFileMessage(const std::string& file, const std::string& indent, std::size_t line,
                              const std::string& what);

// An instrument result in the unit its fixed name carries, from a value and
// the unit the file gives; false when the unit does not convert.
bool addInstrumentResult(KnownMetadata& known, const char* name, double value, std::string_view unit);

// The file name without its folder ("a/b/c.txt" -> "c.txt").
std::string baseName(std::string_view path);

// A column title split into its name and unit: "Depth (nm)", "Load [µN]",
// "Disp_nm", "Force_uN"; the unit is empty when the title gives none.
struct ColumnTitle {
    std::string name;  // lower case, trimmed
    std::string unit;  // as written
};
ColumnTitle parseColumnTitle(std::string_view cell);

enum class Quantity { Other, Depth, Force, Time };
// What a column title names, by its first word; Depth and Force only with a unit they convert.
Quantity quantityOf(const ColumnTitle& title);

// Where depth, force and time sit in the data lines and how to read them.
struct NumericColumns {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t depth = kNone, force = kNone, time = kNone;
    double depthToNm = 1, forceToMn = 1;
    char separator = '\t';
    char decimalMark = '.';
};

// Finds depth, force and time among column titles (the first of each whose
// unit converts). False when depth or force is missing.
bool findColumns(const std::vector<std::string_view>& titles, NumericColumns& columns);

// Appends one data line's depth, force and time to the indent; on a broken
// line returns what is wrong with it (empty when read).
std::string readDataRow(std::string_view line, const NumericColumns& columns, RecognisedIndent& indent);

// The fixed result name (kInstrumentResultNames) of an instrument's result
// label such as "HIT", "Er", "hmax", "We"; nullptr when none.
const char* instrumentResultName(std::string_view label);

// Room for at most this many points (the lines of the file), so that a long
// file is not copied while it is read.
void reservePoints(RecognisedIndent& indent, std::size_t points);

// Letters from the shape when the format gave none, then to the sink.
// Returns the sink's answer.
bool handIndent(RecognisedIndent& indent, const IndentSink& sink);

}  // namespace mivaro::recognise

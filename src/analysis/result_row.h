#pragma once

// One result row: the named numbers and texts one analysis of one indent gives,
// in column order. The batch table, `mivaro-cli analyse` and the "Results"
// window all show rows of this shape, so their columns and numbers agree.

#include <optional>
#include <string>
#include <vector>

#include "analysis/iso_results.h"
#include "analysis/iso_setup.h"
#include "curves/recognise/recognised_file.h"

namespace mivaro {

struct ResultCell {
    std::string column;            // CSV column name, unit in the name ("iso_Er_GPa")
    std::optional<double> number;  // a number, or
    std::string text;              // a text (used when number is empty)
};

struct ResultRow {
    std::vector<ResultCell> cells;

    const ResultCell* find(const std::string& column) const;
    void setNumber(const std::string& column, double value);
    void setText(const std::string& column, const std::string& value);
    // A cell with neither number nor text (an empty CSV field), so that rows
    // of indents that failed keep every column.
    void setEmpty(const std::string& column);
};

// The program's version as the rows record it ("6.1").
const char* programVersion();

// Appends iso_Fmax_mN ... iso_etaIT_pct (every quantity of IsoResults, in its
// order); empty cells when results is null or holds an error.
void appendIsoCells(ResultRow& row, const IsoResults* results);

// Appends iso_fit, iso_window_lo_pct, iso_window_hi_pct, iso_epsilon, iso_beta,
// iso_nu_s, iso_nu_i, iso_Ei_GPa, iso_C0 ... iso_C5, iso_Cf_nm_per_mN,
// iso_zero_point_nm, iso_drift_nm_per_s, iso_drift_source, program_version.
// iso_epsilon is ε(m) on this indent when taken from the exponent (results
// given), else the setup's; the corrections' values are the indent's.
void appendIsoProvenance(ResultRow& row, const IsoSetup& setup, const IsoResults* results);

// Appends instrument_HIT_MPa ... for every name of kInstrumentResultNames:
// the file's own printed value, or an empty cell.
void appendInstrumentCells(ResultRow& row, const recognise::KnownMetadata* known);

// The columns' names and one row, each line ending in '\n'. Numbers use
// "%.9g" in the C locale; texts are quoted as CSV does when they must be.
std::string csvHeaderLine(const ResultRow& row);
std::string csvRowLine(const ResultRow& row);

// One CSV field: as it is, or in double quotes with its quotes doubled.
std::string csvField(const std::string& text);

// {"Er_GPa": 71.2, "fit": "lsq", ...}: every cell, named without prefix where
// its column starts with it; numbers with 17 digits, empty cells as null.
std::string resultCellsJson(const ResultRow& row, const std::string& prefix);

}  // namespace mivaro

#pragma once

// One result row: the named numbers and texts one analysis of one indent gives,
// in column order. The batch table, `mivaro-cli analyse` and the "Results"
// window all show rows of this shape, so their columns and numbers agree.

#include <optional>
#include <string>
#include <vector>

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
};

}  // namespace mivaro

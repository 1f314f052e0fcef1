#pragma once

// The rows of the "Results" window and everything done with them apart from
// showing them: the order of the columns, the numbers as shown and as copied,
// the tab-separated copy and the CSV file.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/result_row.h"

namespace mivaro {

class ResultsTable {
  public:
    // Appends the row (newest last); its new columns take their place among
    // the known ones. True when the columns changed.
    bool add(ResultRow row);
    void clear();

    std::size_t rowCount() const { return m_rows.size(); }
    const ResultRow& row(std::size_t index) const { return m_rows[index]; }
    // Column names in table order: the batch table's names with the unit in the name.
    const std::vector<std::string>& columns() const { return m_columns; }

    // A cell as the window shows it: numbers with six significant digits,
    // the file as its name without the folder; empty where the row has none.
    std::string displayText(std::size_t row, std::size_t column) const;
    // A cell as copies and files carry it: numbers as "%.9g".
    std::string exactText(std::size_t row, std::size_t column) const;
    // The number of a cell, for sorting; nothing for texts and empty cells.
    std::optional<double> number(std::size_t row, std::size_t column) const;

    // Header line and the given rows (all when none are given), fields
    // separated by tabs, lines ending in "\n"; a tab or line end inside a
    // text becomes a space so every cell stays one cell of a spreadsheet.
    std::string tabSeparated(const std::vector<std::size_t>& rows) const;
    // Every row as CSV, quoted as the batch table quotes.
    std::string csv() const;

  private:
    const ResultCell* cell(std::size_t row, std::size_t column) const;

    std::vector<ResultRow> m_rows;
    std::vector<std::string> m_columns;
    std::vector<int> m_ranks;  // sort key of each column, parallel to m_columns
    int m_unknownColumns = 0;
};

// "Er_GPa" gives "Er (GPa)", "S_mN_per_nm" "S (mN/nm)", "modulus_force_min_pct"
// "modulus force min (%)"; a name without a unit loses only its underscores.
std::string columnTitle(const std::string& name);

}  // namespace mivaro

#pragma once

// Text tables with a column-title line: the line whose cells name a depth and
// a force with their units, then data lines whose separator and decimal mark
// are read from the data themselves.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "curves/recognise/text_table.h"

namespace mivaro::recognise {

struct TitledTable {
    std::size_t titleLine = 0;  // index into the lines
    std::size_t firstData = 0;
    std::vector<std::string_view> titles;
    NumericColumns columns;
};

// Fills columns from the title cells; false when they name no depth and force.
using ColumnFinder =
    std::function<bool(const std::vector<std::string_view>& titles, NumericColumns& columns)>;

// The first line (of the first 300) whose cells, split by the data's
// separator, the finder accepts and which data lines follow.
std::optional<TitledTable> findTitledTable(const std::vector<std::string_view>& lines,
                                           const ColumnFinder& finder);

// Reads every data line of the table into one indent and hands it on; the
// summary names the file and line of a broken row.
RecogniseSummary readTitledTable(const std::vector<std::string_view>& lines, const TitledTable& table,
                                 const std::string& name, RecognisedIndent& indent, const IndentSink& sink);

}  // namespace mivaro::recognise

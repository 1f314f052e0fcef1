#pragma once

// The statistics a report quotes over many result rows: per numeric column
// n, mean, sd, cv_pct, median, mad, min, max over the complete rows, and the
// rows whose modulus or hardness lies far from the median.

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/result_row.h"

namespace mivaro {

// A row is complete when its "error" cell is empty. Outliers: iso_Er_GPa and
// iso_HIT_MPa (Er_GPa when the rows have no iso_ columns) more than
// kOutlierScaledMads times 1.4826 MAD from the median. The text is two CSV
// tables separated by an empty line:
//   column,n,mean,sd,cv_pct,median,mad,min,max
//   outliers,file,indent,value,median,scaled_mads
// Fewer complete rows than kOutlierMinimumRows give no outliers: the MAD of a
// handful of values says nothing.
inline constexpr double kOutlierScaledMads = 3;
inline constexpr std::size_t kOutlierMinimumRows = 5;
std::string resultSummaryCsv(const std::vector<ResultRow>& rows);

}  // namespace mivaro

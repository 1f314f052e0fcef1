#pragma once

// "Analyse all curves" of the "Results" window: the batch analysis of every
// loaded curve's file, as `mivaro-cli batch` gives it, one row per file.

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "analysis/batch_analysis.h"
#include "analysis/result_row.h"
#include "curves/curve_set.h"

namespace mivaro {

// The files of the loaded curves in curve order; removed curves are left out.
std::vector<std::string> loadedCurveFiles(const CurveSet& set);

// Analyses the files on `jobs` threads and hands the rows to onRow in file
// order, on the calling thread, with how many files are done. Once `cancel`
// is set no file starts and no further row is handed over. Returns the number
// of rows handed over.
std::size_t analyseAllCurves(const std::vector<std::string>& files, const BatchSettings& settings,
                             unsigned jobs, const std::atomic<bool>& cancel,
                             const std::function<void(ResultRow row, std::size_t done)>& onRow);

}  // namespace mivaro

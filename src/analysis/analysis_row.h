#pragma once

// The result rows of the "Results" window: one per completed analysis of a
// click, and one per curve of "Analyse all curves". Numbers keep the column
// names of the batch table, so a row of either kind reads like its line.

#include <string>

#include "analysis/analysis_flow.h"
#include "analysis/batch_analysis.h"
#include "analysis/result_row.h"

namespace mivaro {

// "modulus", "equation", "section", "hardness", "loading-rate",
// "displacement-rate": the names `mivaro-cli analyse --action` takes.
const char* analysisName(AnalysisKind kind);

// A point's index within its curve's file, as the file lists its points.
int pointIndexInFile(const CurveSet& set, int point);

// The row of a completed analysis: the curve's file, the analysis, the branch
// or hold with its first and last point (indices within the curve's file),
// the dialog values used, the quantities the analysis computed (results are
// the IndentationResults after the flow) and the text the graph received.
// An outcome without a record gives an empty row.
ResultRow analysisResultRow(const CurveSet& set, const FlowOutcome& outcome,
                            const IndentationResults& results);

// The row of one file of the batch: its columns and numbers are those of
// batchCsvRow, then the dialog values the batch applied.
ResultRow batchResultRow(const BatchRow& row, const BatchSettings& settings);

}  // namespace mivaro

#pragma once

// The result rows of the "Results" window: one per completed analysis of a
// click, and one per curve of "Analyse all curves". Numbers keep the column
// names of the batch table, so a row of either kind reads like its line.

#include <optional>
#include <string>

#include "analysis/analysis_flow.h"
#include "analysis/batch_analysis.h"
#include "analysis/iso_setup.h"
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
// With an iso setup, a modulus, equation or hardness row also gets the
// instrument-grade results of the clicked point's curve, as
// `mivaro-cli analyse --iso` reports them. An outcome without a record gives
// an empty row.
ResultRow analysisResultRow(const CurveSet& set, const FlowOutcome& outcome,
                            const IndentationResults& results,
                            const std::optional<IsoSetup>& iso = std::nullopt);

// The row of one file of "Analyse all curves": the batch table's row of the
// file (batchResultRow), then the dialog values the batch applied.
ResultRow allCurvesResultRow(const BatchRow& row, const BatchSettings& settings);

}  // namespace mivaro

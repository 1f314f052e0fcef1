#pragma once

// The result row of one indent an instrument file holds: the instrument-grade
// results with the file's own metadata (values asked for as "file") and the
// instrument's printed results beside them. `batch --recognise --iso` and the
// "Results" window build their rows with it.

#include <string>

#include "analysis/iso_setup.h"
#include "analysis/result_row.h"
#include "curves/curve_set.h"
#include "curves/recognise/recognised_file.h"

namespace mivaro {

// Columns: file, indent, error, the iso_ cells, the provenance, then the
// instrument_ cells. error names what the file lacks when a value was asked
// for as "file", or why the results could not be computed.
ResultRow recognisedIndentRow(const std::string& file, const recognise::RecognisedIndent& indent,
                              const IsoSetup& setup);

// The instrument-grade results of the points first..last of a CurveSet (one
// curve); clickFit as computeIsoResults takes it.
IsoResults isoResultsOfPoints(const CurveSet& set, int first, int last, const IsoSetup& setup,
                              const PowerLawFit* clickFit = nullptr);

// The iso_ cells and the provenance of one computation (results null: empty cells).
ResultRow isoRow(const IsoSetup& setup, const IsoResults* results);

}  // namespace mivaro

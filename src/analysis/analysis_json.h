#pragma once

#include <optional>
#include <string>

#include "analysis/analysis_flow.h"
#include "curves/curve_types.h"

namespace mivaro {

// A number for a JSON report: significantDigits digits ("%.*g"); a non-finite
// number as the JSON string the result text would show ("inf", "-nan").
std::string jsonNumber(double value, int significantDigits);

// A JSON string literal (quotes, backslashes and control characters escaped);
// text that is not UTF-8 is taken as Windows-1252.
std::string jsonString(const std::string& text);

// {"text": ..., "results": ..., "series": ...} on one line: the outcome of one
// flow and the IndentationResults after it (null when the flow computed none).
std::string analysisJson(const FlowOutcome& outcome, const IndentationResults& results);
// The same with "point" last: the index of the point the flow ran on, or null.
std::string analysisJson(const FlowOutcome& outcome, const IndentationResults& results,
                         std::optional<int> point);

}  // namespace mivaro

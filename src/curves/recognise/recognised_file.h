#pragma once

// What the instrument-file recogniser hands back: every indent a test-machine
// export holds, in the program's units, with the segment letter of every point
// and what the file says about the test. Format units (one per instrument
// format, in this folder) produce it; the import command, `mivaro-cli
// recognise`, `convert --recognise` and `batch --recognise` consume it.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mivaro::recognise {

// Where the segment letters of an indent came from.
enum class SegmentSource {
    Labels,        // the instrument's own labels or segment ids per point
    BlankLines,    // blocks separated by blank lines
    SegmentTable,  // a table of segment begin/end times in the header
    Shape,         // the curve's shape (segmentsFromShape)
};

// "labels", "blank lines", "segment table", "shape": the JSON and dialog words.
const char* segmentSourceName(SegmentSource source);

// Results the instrument printed itself, by fixed names so that tables of
// many files share their columns. Each is converted to the unit in its name.
inline constexpr const char* kInstrumentResultNames[] = {
    "HIT_MPa",     "EIT_GPa", "Er_GPa",    "HM_MPa",    "hmax_nm",   "hr_nm",   "hc_nm",
    "S_mN_per_nm", "Fmax_mN", "Wtotal_pJ", "Welast_pJ", "etaIT_pct", "CIT_pct",
};

// What the file says about the test, converted to the program's units
// (depth nm, force mN, time s) where the program uses it.
struct KnownMetadata {
    // Ap(hc) = C0 hc^2 + C1 hc + C2 hc^(1/2) + C3 hc^(1/4) + C4 hc^(1/8) + C5 hc^(1/16),
    // hc in nm, Ap in nm^2. Absent when the file gives no tip coefficients.
    std::optional<std::vector<double>> areaCoefficients;  // 6 values when present
    std::optional<double> frameComplianceNmPerMn;
    std::optional<double> driftNmPerS;
    // The depths were already corrected for drift by the instrument (the rate
    // it used, if any, is in driftNmPerS and must not be applied again).
    bool depthDriftCorrected = false;
    std::optional<double> poissonRatio;    // of the sample
    std::optional<double> fitWindowLoPct;  // unloading fit window, % of Fmax
    std::optional<double> fitWindowHiPct;
    // name from kInstrumentResultNames -> value in that unit
    std::vector<std::pair<std::string, double>> instrumentResults;
};

struct RecognisedIndent {
    std::string name;                // sheet, block or member name; may be empty
    std::optional<double> xUm, yUm;  // position on the sample when the file gives one
    std::vector<double> depthNm;     // file order
    std::vector<double> forceMn;
    std::vector<double> timeS;  // zeros when the file has no time
    std::string segments;       // one SegmentKind letter per point
    SegmentSource segmentsFrom = SegmentSource::Shape;
    bool hasUnloading = true;  // false for loading-only exports
    // Everything the file says, as it says it (name, value with its unit), in
    // file order: header keys, settings lines, the results sheet's row.
    std::vector<std::pair<std::string, std::string>> metadata;
    KnownMetadata known;
};

// Called once per indent, in file order; the indent may be moved from.
// Returning false stops the reading (nothing more is read).
using IndentSink = std::function<bool(RecognisedIndent& indent)>;

struct RecogniseSummary {
    bool recognised = false;                    // false: no format claimed the file
    std::string format;                         // display name, e.g. "Hysitron TriboScan text"
    int indents = 0;                            // indents handed to the sink
    std::optional<SegmentSource> segmentsFrom;  // of the first indent
    std::string depthUnit;                      // as the file gives them ("nm", "µm")
    std::string forceUnit;                      // ("µN", "mN", "N")
    bool loadingOnly = false;                   // a recognised export without unloading
    bool binary = false;                        // a zip or workbook, not a text file
    // A recognised file that is broken: names the file, the indent and the
    // line or sheet. Indents handed to the sink before it stay valid.
    std::string error;
};

}  // namespace mivaro::recognise

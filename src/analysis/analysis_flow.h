#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_ports.h"
#include "analysis/analysis_settings.h"
#include "curves/curve_set.h"
#include "curves/indent_curve.h"
#include "platform/message_port.h"
#include "platform/progress_port.h"
#include "platform/repaint_port.h"

namespace mivaro {

// What every analysis flow works on and reports to.
struct FlowContext {
    CurveSet& set;
    IndentCurve& curve;  // receives the IndentationResults; holds the settings directory
    MessagePort& messages;
    RepaintPort& repaint;
    ResultTextSink& texts;
    GraphTextStyle style;
    // Off where the dialogs are answered by the command line: the settings
    // files are read, never written.
    bool saveSettings = true;
    // Shown while a long section analysis runs; none: no indication.
    ProgressPort* progress = nullptr;
};

// Which analysis a completed flow ran.
enum class AnalysisKind { Modulus, Equation, Section, Hardness, LoadingRate, DisplacementRate };

// What a completed analysis worked on and with which dialog values, for the
// results table. Point indices are those of the CurveSet.
struct AnalysisRecord {
    AnalysisKind kind = AnalysisKind::Modulus;
    int clicked = -1;
    int first = -1;  // the branch, the hold, or the run the rate spans
    int last = -1;
    std::optional<ModulusSettings> modulus;
    std::optional<HardnessSettings> hardness;
    float pMaxMn = 0;
    float hMaxNm = 0;
    std::optional<double> rate;         // mN/s or nm/s, as the text shows it
    std::optional<double> holdSeconds;  // the hardness text's hold time
};

// What a flow produced, for callers that report it (the command line).
struct FlowOutcome {
    std::optional<std::string> text;  // the line handed to beginTextPlacement
    bool resultsComputed = false;     // the IndentationResults were overwritten
    bool refused = false;             // a message said why nothing was calculated
    bool seriesAdded = false;
    std::vector<double> seriesX;
    std::vector<double> seriesY;
    // Set when an analysis completed (not for a label, a Cancel or a refusal).
    std::optional<AnalysisRecord> record;
};

inline constexpr const char* kRefusalCaption = "Error";

// First and last point of the curve that owns the point (points of one curve
// are consecutive); every run of the flows stays inside these bounds.
struct PointSpan {
    int first = 0;
    int last = -1;
};
PointSpan curveSpanOf(const CurveSet& set, int point);

// True when the index is a point of the set and carries the letter.
bool pointHasLetter(const CurveSet& set, int point, char letter);

// The file name part of a path ("C:\\a\\b.MVR" and "/a/b.MVR" give "b.MVR").
std::string fileTitleOf(const std::string& path);

// Path of the curve that owns the point ("" when the point has no curve).
std::string curvePathOf(const CurveSet& set, int point);

// Hands the text to the sink and records it in the outcome.
void emitText(FlowContext& ctx, FlowOutcome& outcome, const std::string& text);

// Shows why a calculation was refused and records it in the outcome.
void refuse(FlowContext& ctx, FlowOutcome& outcome, const std::string& why);

}  // namespace mivaro

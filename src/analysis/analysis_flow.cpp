#include "analysis/analysis_flow.h"

namespace mivaro {

PointSpan curveSpanOf(const CurveSet& set, int point) {
    PointSpan span;
    if (point < 0 || point >= set.pointCount()) {
        return span;
    }
    const int owner = set.curveIndex[static_cast<std::size_t>(point)];
    span.first = point;
    while (span.first > 0 && set.curveIndex[static_cast<std::size_t>(span.first - 1)] == owner) {
        --span.first;
    }
    span.last = point;
    while (span.last + 1 < set.pointCount() &&
           set.curveIndex[static_cast<std::size_t>(span.last + 1)] == owner) {
        ++span.last;
    }
    return span;
}

bool pointHasLetter(const CurveSet& set, int point, char letter) {
    return point >= 0 && point < set.pointCount() && set.segment[static_cast<std::size_t>(point)] == letter;
}

std::string fileTitleOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string curvePathOf(const CurveSet& set, int point) {
    if (point < 0 || point >= set.pointCount()) {
        return {};
    }
    const int owner = set.curveIndex[static_cast<std::size_t>(point)];
    if (owner < 0 || owner >= set.curveCount()) {
        return {};
    }
    return set.curves[static_cast<std::size_t>(owner)].path;
}

void emitText(FlowContext& ctx, FlowOutcome& outcome, const std::string& text) {
    outcome.text = text;
    ctx.texts.beginTextPlacement(text);
}

void refuse(FlowContext& ctx, FlowOutcome& outcome, const std::string& why) {
    outcome.refused = true;
    ctx.messages.showMessage(why, kRefusalCaption, MessageButtons::Ok);
}

}  // namespace mivaro

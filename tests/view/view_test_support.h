#pragma once

#include <utility>
#include <vector>

#include "curves/curve_set.h"
#include "view/recording_surface.h"

namespace mivaro::test {

// Appends one curve with its points (depth nm, force mN) to a CurveSet.
inline int addCurve(CurveSet& set, const std::vector<std::pair<float, float>>& points, int style = 0,
                    int size = 1, Rgb colour = makeRgb(0, 0, 0)) {
    const int curve = set.curveCount();
    CurveInfo info;
    info.style = style;
    info.size = size;
    info.colour = colour;
    set.curves.push_back(info);
    for (const auto& [depth, force] : points) {
        set.depth.push_back(depth);
        set.force.push_back(force);
        set.time.push_back(0);
        set.segment.push_back('L');
        set.curveIndex.push_back(curve);
        set.colour.push_back(colour);
    }
    return curve;
}

using Op = RecordingSurface::Op;

// Texts drawn with the given alignment, in drawing order.
inline std::vector<RecordingSurface::Record> textsAligned(const RecordingSurface& surface, TextAlign align) {
    std::vector<RecordingSurface::Record> found;
    for (const auto& record : surface.recordsOf(Op::Text)) {
        if (record.align == align) {
            found.push_back(record);
        }
    }
    return found;
}

}  // namespace mivaro::test

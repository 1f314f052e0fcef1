#pragma once

#include <string>
#include <vector>

#include "curves/curve_types.h"

namespace mivaro {

// Display attributes of one curve of the CurveSet.
struct CurveInfo {
    int style = 0;  // MarkerStyle: 0 LINE, 1 CIRCLE, 2 CIRCLE_SOLID, 3 SQUARE, 4 SQUARE_SOLID
    int size = 1;   // line width or marker size; -1 marks a deleted curve
    std::string path;
    Rgb colour = 0;

    bool deleted() const { return size == -1; }
};

// All loaded curves as flat single-precision arrays, curve after curve, plus
// per-curve attributes. Rebuilt as a whole from the name list; between
// rebuilds only styles, colours and deletions change it.
struct CurveSet {
    static constexpr int kCurveCapacity = 1000;

    // One element per point, all arrays the same length.
    std::vector<char> segment;
    std::vector<float> time;      // s
    std::vector<float> force;     // mN
    std::vector<float> depth;     // nm
    std::vector<int> curveIndex;  // owning curve; -1 = left out of the graph
    std::vector<Rgb> colour;

    // One element per curve, deleted curves included (curve count).
    std::vector<CurveInfo> curves;

    int pointCount() const { return static_cast<int>(depth.size()); }
    int curveCount() const { return static_cast<int>(curves.size()); }

    void clear() {
        segment.clear();
        time.clear();
        force.clear();
        depth.clear();
        curveIndex.clear();
        colour.clear();
        curves.clear();
    }

    // Index of the first point of curve c, or pointCount() when it has none.
    int firstPointOf(int curve) const;
    // One past the last point of curve c.
    int endPointOf(int curve) const;
};

}  // namespace mivaro

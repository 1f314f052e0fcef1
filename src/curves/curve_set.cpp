#include "curves/curve_set.h"

#include <algorithm>

namespace mivaro {

// Points of one curve are contiguous and curves are in index order, but a
// deleted curve has no points, so search the owning-curve array.
int CurveSet::firstPointOf(int curve) const {
    const auto it = std::find(curveIndex.begin(), curveIndex.end(), curve);
    return static_cast<int>(it - curveIndex.begin());
}

int CurveSet::endPointOf(int curve) const {
    const int first = firstPointOf(curve);
    int end = first;
    while (end < pointCount() && curveIndex[static_cast<std::size_t>(end)] == curve) {
        ++end;
    }
    return end;
}

}  // namespace mivaro

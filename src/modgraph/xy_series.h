#pragma once

#include <vector>

#include "curves/curve_types.h"
#include "view/curve_painter.h"

namespace mivaro {

// One modulus-versus-depth series of the modulus graph. The points are kept
// in single precision; the style fields are set by the caller before the
// series is added to the slot.
struct XYSeries {
    std::vector<float> x{0.0f};
    std::vector<float> y{0.0f};
    int pointCount = 0;
    Rgb colour = 0;
    int markerStyle = LINE;
    int markerSize = 1;  // line width for LINE, radius or half side for markers
};

}  // namespace mivaro

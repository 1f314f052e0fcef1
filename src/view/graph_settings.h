#pragma once

#include "view/drawing_surface.h"

namespace mivaro {

// Range of one axis. The automatic flags make each paint rewrite the value.
struct AxisScale {
    int autoMin = 1;
    int autoMax = 1;
    int autoMajor = 1;
    float min = 0;
    float max = 0;
    float major = 0;
};

// Settings of the main graph, owned by the view for its lifetime (not saved).
struct ViewSettings {
    AxisScale x;  // depth, nm
    AxisScale y;  // force, mN
    int majorDivisions = 10;
    int labelDecimals = 2;  // 0 to 9, tick labels of both axes and result texts
    int fontSize = 16;
    int boldText = 1;

    int lineHeight() const { return fontSize + 8; }
};

// A hit box; a point is inside only strictly within all four edges.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(int px, int py) const { return left < px && px < right && top < py && py < bottom; }
    bool operator==(const Box&) const = default;
};

// The fixed box in the top-left corner of the view.
inline constexpr Box kCornerBox{0, 0, 30, 30};

// Geometry of the last paint; mouse handlers use it between paints.
struct PlotLayout {
    int lineHeight = 0;
    int charWidth = 0;
    ClientRect client;
    int plotLeft = 0;
    int plotTop = 0;
    int plotRight = 0;
    int plotBottom = 0;
    Box xAxisBand;
    Box yAxisBand;
    Box xTitleBox;
    Box yTitleBox;
    bool frameDrawn = false;  // false when the size test failed
};

}  // namespace mivaro

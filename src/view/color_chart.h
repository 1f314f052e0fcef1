#pragma once

#include "curves/curve_types.h"

namespace mivaro {

// The picture of the "Color Chart" dialog: 8 x 5 swatches of 10 x 10 pixels,
// each in a one-pixel grey frame, on a pale background. The dialog shows it
// pixel for pixel; a press takes the colour of the pixel under the pointer.
inline constexpr int kColorChartWidth = 146;
inline constexpr int kColorChartHeight = 91;
inline constexpr int kColorChartColumns = 8;
inline constexpr int kColorChartRows = 5;
inline constexpr Rgb kColorChartBackground = makeRgb(255, 251, 240);
inline constexpr Rgb kColorChartFrame = makeRgb(128, 128, 128);

// Swatch colours row by row. Row 1, column 7 is the frame's own grey, so that
// block shows as one 12 x 12 grey square.
Rgb colorChartSwatch(int row, int column);

// The chart's pixel at (x, y), 0 <= x < 146, 0 <= y < 91; the background
// outside the chart.
Rgb colorChartPixel(int x, int y);

}  // namespace mivaro

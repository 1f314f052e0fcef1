#pragma once

#include <optional>

#include "curves/curve_set.h"
#include "view/plot_frame.h"

namespace mivaro {

// Pixel distance within which a click takes a curve point.
inline constexpr double kPickRadiusPx = 10.0;

// Integer pixel distance between a click and a point drawn at (px, py): the
// sum of squares in integers, the root in floating point.
double pixelDistance(int x, int y, int px, int py);

// The point of the set nearest to the click (x, y) in client pixels, with the
// mapping of the last paint: every point whose curve index is not -1 is a
// candidate, drawn or not; the earlier of equal distances wins. Nothing when
// the nearest lies 10 pixels or farther away.
std::optional<int> pickNearestPoint(const CurveSet& curves, const PlotMapping& mapping, int x, int y);

// The point a left click takes: the rule of pickNearestPoint with two early
// stops, checked after each point in list order. The last point of a top hold
// within 10 pixels wins over the unloading after it, even a closer one; the
// first point closer than 2 pixels wins outright.
std::optional<int> pickClickedPoint(const CurveSet& curves, const PlotMapping& mapping, int x, int y);

}  // namespace mivaro

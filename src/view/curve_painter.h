#pragma once

#include "curves/curve_set.h"
#include "view/drawing_surface.h"
#include "view/plot_frame.h"

namespace mivaro {

enum MarkerStyle : int {
    LINE = 0,
    CIRCLE = 1,
    CIRCLE_SOLID = 2,
    SQUARE = 3,
    SQUARE_SOLID = 4,
};

// Largest marker size and pen width drawn; bigger sizes are drawn at this size so that a
// stray value cannot make a paint set billions of pixels.
inline constexpr int kMaxMarkerSize = 100;

// Sets the pixels of one marker centred on (cx, cy). LINE, unknown styles and
// negative sizes set nothing.
void drawMarker(DrawingSurface& surface, int style, int size, int cx, int cy, Rgb colour);

// Every visible point of every curve in array order: lines that break at
// points outside the ranges and never join two curves, or markers.
void drawCurves(DrawingSurface& surface, const CurveSet& curves, const PlotMapping& map);

}  // namespace mivaro

#pragma once

#include "curves/indent_curve.h"

namespace mivaro {

// Derives the SegmentKind letters of a curve from its force signal alone:
// loading up to the first decrease, top hold until the force has fallen by
// the force instability t below the force where it first dropped, unloading
// while the force falls, bottom hold while it stays below the force where the
// fall stopped plus t, reloading while it rises (loading again above the
// earlier peak), and so on cycle after cycle. The point of highest force of
// the loading and the top holds becomes 'T'. Points no rule reaches keep their
// letter.
//
// Ends on every input: a point at which no rule can advance (a NaN or an
// infinite force, t <= 0 or NaN) is left as it is and the walk goes on after it.
void AssignSegments(const double* force, int count, float forceInstability, char* segment);

// On the IndentCurve: its force array, point count and force instability.
void AssignSegments(IndentCurve& curve);

}  // namespace mivaro

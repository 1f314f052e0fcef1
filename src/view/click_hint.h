#pragma once

#include <string>

#include "curves/curve_set.h"

namespace mivaro {

// What a left click on the point would start, for the status bar:
// "Unloading point 350 of a.MVR: left click for the modulus". Empty for a
// point no flow takes (bottom hold, no letter) and for no point (-1).
std::string clickHint(const CurveSet& set, int point);

}  // namespace mivaro

#pragma once

#include <string>

#include "curves/indent_curve.h"

namespace mivaro {

inline constexpr const char* kStandardCurveHeader = "Depth(um),Force(mN),Time(s),Segment";

// Label written for points that carry 'X' before any labelled point. It is no
// segment label, so those points read back as 'X' again; 'X' after a labelled
// point takes that point's label, as every other unknown letter does.
inline constexpr const char* kUnlabelledSegment = "NONE";

// Appends the points of the IndentCurve as a standard curve file: the header,
// then "%e,%e,%f,%s" per point (depth in um, force in mN, time in s, label) in
// the C locale, every line ending in CR LF.
void formatStandardCurve(const IndentCurve& curve, std::string& out);

// Writes the points of the IndentCurve to `path` as a standard curve file
// through the safe writer: the file is written whole or not at all, and a
// previous file of that name survives any failure. On failure returns false
// with a sentence for the user in `error`.
bool writeStandardCurveFile(const std::string& path, const IndentCurve& curve, std::string& error);

}  // namespace mivaro

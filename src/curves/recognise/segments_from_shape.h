#pragma once

// Segment letters for files whose instrument labels none, from the force
// signal relative to each cycle's peak (rule in segments_from_shape.cpp).

#include <span>
#include <string>
#include <string_view>

namespace mivaro::recognise {

// One SegmentKind letter per point: L T U B R T U B R ... in order. With the
// depths (same length), a fall of force while the depth grows is a pop-in,
// never an unloading.
std::string segmentsFromShape(std::span<const double> forceMn, std::span<const double> depthNm = {});

// "L120T40U200B30": each letter followed by how many points in a row carry it.
std::string runLengthLetters(std::string_view letters);

}  // namespace mivaro::recognise

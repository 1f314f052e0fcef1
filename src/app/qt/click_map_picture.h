#pragma once

#include <QPixmap>

namespace mivaro {

inline constexpr int kClickMapWidth = 571;
inline constexpr int kClickMapHeight = 364;

// A sample force-depth graph annotated with where the main graph reacts to
// clicks: axes, axis titles, curves, the top hold and the unloading branch.
QPixmap clickMapPicture();

}  // namespace mivaro

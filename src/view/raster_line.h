#pragma once

#include <cstdlib>

namespace mivaro {

// Line rasterisation shared by every pixel surface, so that an image drawn
// by the window and one drawn in a test hold the same pixels. Both forms
// leave the end pixel unset: consecutive segments of a curve meet without
// painting their shared pixel twice, and a zero-length line sets nothing.

// Bresenham from (x0, y0) towards (x1, y1); plot(x, y) for every pixel.
template <class Plot>
void rasterThinLine(int x0, int y0, int x1, int y1, Plot&& plot) {
    const long long dx = std::llabs(static_cast<long long>(x1) - x0);
    const long long dy = -std::llabs(static_cast<long long>(y1) - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    long long err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        plot(x0, y0);
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// Offsets lo..hi of a pen of the given width across its centre pixel.
inline int penLow(int width) {
    return -(width / 2);
}
inline int penHigh(int width) {
    return -(width / 2) + width - 1;
}

// A line of pen width w > 1: a round dab of diameter w at the start (so the
// joints of a polyline close), then a run of w pixels across the line at
// every pixel of the thin centre line. run(x, y, vertical, lo, hi) sets the
// pixels (x, y + lo..hi) when vertical, (x + lo..hi, y) otherwise. A zero-length
// line sets nothing here either: a wide curve of one visible point stays blank.
template <class Plot, class Run>
void rasterWideLine(int x0, int y0, int x1, int y1, int width, Plot&& plot, Run&& run) {
    if (x0 == x1 && y0 == y1) {
        return;
    }
    const int lo = penLow(width);
    const int hi = penHigh(width);
    const double centre = (lo + hi) / 2.0;
    const double radius2 = (width / 2.0) * (width / 2.0);
    for (int j = lo; j <= hi; ++j) {
        for (int i = lo; i <= hi; ++i) {
            const double di = i - centre;
            const double dj = j - centre;
            if (di * di + dj * dj <= radius2) {
                plot(x0 + i, y0 + j);
            }
        }
    }
    const bool acrossIsVertical =
        std::llabs(static_cast<long long>(x1) - x0) >= std::llabs(static_cast<long long>(y1) - y0);
    rasterThinLine(x0, y0, x1, y1, [&](int x, int y) { run(x, y, acrossIsVertical, lo, hi); });
}

// The run of rasterWideLine through plot(x, y), pixel by pixel: for surfaces
// that check every pixel against their bounds.
template <class Plot>
void plotRunAcross(int x, int y, bool vertical, int lo, int hi, Plot&& plot) {
    for (int k = lo; k <= hi; ++k) {
        if (vertical) {
            plot(x, y + k);
        } else {
            plot(x + k, y);
        }
    }
}

}  // namespace mivaro

#include "curves/assign_segments.h"

#include <algorithm>

#include "curves/curve_types.h"

namespace mivaro {

void AssignSegments(const double* force, int count, float forceInstability, char* segment) {
    const double t = forceInstability;
    const double* F = force;
    const int n = count;
    double fMax = -9e99;
    int iMax = 0;
    int i = 0;
    const auto track = [&] {
        if (F[i] > fMax) {
            fMax = F[i];
            iMax = i;
        }
    };

    // Initial contact: the force may rise and fall freely below the band.
    while (i < n && F[i] < t) {
        segment[i] = LOAD;
        track();
        ++i;
    }
    // Loading; a point without predecessor counts as not decreasing.
    while (i < n && (i == 0 || F[i] >= F[i - 1])) {
        segment[i] = LOAD;
        track();
        ++i;
    }
    if (i < n) {
        double fRef = F[i];
        while (i < n) {
            const int cycleStart = i;
            // Top hold, ended by the first point at or below fRef - t.
            while (i < n && F[i] > fRef - t) {
                segment[i] = TOP_HOLD;
                track();
                ++i;
            }
            // Unloading.
            while (i < n && i > 0 && F[i] < F[i - 1]) {
                segment[i] = UNLOAD;
                ++i;
            }
            // Bottom hold.
            if (i < n) {
                const double fBottom = F[i];
                while (i < n && F[i] < fBottom + t) {
                    segment[i] = BOTTOM_HOLD;
                    ++i;
                }
            }
            // Reloading: 'R' until the earlier peak is passed, then 'L' for
            // each new maximum; other points keep their letter.
            bool exceeded = false;
            while (i < n && i > 0 && F[i] >= F[i - 1]) {
                if (F[i] > fMax) {
                    fMax = F[i];
                    exceeded = true;
                    segment[i] = LOAD;
                } else if (!exceeded) {
                    segment[i] = RELOAD;
                }
                ++i;
            }
            // A point no rule took (NaN or infinite forces, t <= 0): leave it
            // and go on, so that the walk always ends.
            if (i == cycleStart) {
                ++i;
            }
            if (i < n) {
                fRef = F[i];
            }
        }
    }
    if (n > 0) {
        segment[iMax] = TOP_HOLD;
    }
}

void AssignSegments(IndentCurve& curve) {
    const int n = static_cast<int>(std::min(curve.force.size(), curve.segment.size()));
    AssignSegments(curve.force.data(), n, curve.forceInstability, curve.segment.data());
}

}  // namespace mivaro

// Segment letters from the force signal, for exports that label nothing.
//
// The rule works relative to each load cycle's own peak force P, so that it
// needs no machine setting:
//  1. Noise: s, the robust spread of the force's second differences (a ramp
//     has none, so only the noise remains). The hold band is
//     b = max(2 % of P, 4 s).
//  2. Cycles: a cycle is confirmed when the force falls below 70 % of its
//     running peak, and that peak is at least 5 % of the file's highest force
//     (forces around zero before contact never make a cycle). Its valley is
//     the lowest point before the force climbs back by 30 % of the fall; the
//     next cycle starts there. A fall that takes fewer points than 2 % of the
//     loading's, or during which the depth grows, is a pop-in: loading.
//  3. Within a cycle: loading (L, or R after the first cycle) until the force
//     first reaches P - b and no longer rises at half the loading's rate; top
//     hold (T) until the descent that reaches 70 % of P, traced back to where
//     the force starts falling at half the unloading's rate (a relaxing hold
//     falls slower and stays T); unloading (U) down to the valley's band,
//     extended while the fall keeps half its rate; bottom hold (B) while the
//     force stays within b of the valley. A test that ends unloading may hold
//     on the way down (a thermal drift hold): a long run below half the peak
//     that no longer falls at half the unloading's rate is B, the fall after
//     it U again.
// Rates are taken over a window of points long enough to lift them above the
// noise. A pop-in (depth jumping at constant or briefly falling force) below
// the hold band stays loading. The peak point is always T, a valley between
// cycles always B.
#include "curves/recognise/segments_from_shape.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/c_format.h"

namespace mivaro::recognise {
namespace {

constexpr double kHoldBand = 0.02;
constexpr double kCycleFall = 0.30;
constexpr double kMinCyclePeak = 0.05;
constexpr double kRateShare = 0.5;
constexpr double kMinFallShare = 0.02;

double noiseSpread(std::span<const double> f) {
    if (f.size() < 5) {
        return 0;
    }
    std::vector<double> second;
    second.reserve(f.size() - 2);
    for (std::size_t i = 1; i + 1 < f.size(); ++i) {
        second.push_back(std::fabs(f[i + 1] - 2 * f[i] + f[i - 1]));
    }
    auto middle = second.begin() + static_cast<std::ptrdiff_t>(second.size() / 2);
    std::nth_element(second.begin(), middle, second.end());
    return 1.4826 * *middle / std::sqrt(6.0);
}

struct Cycle {
    std::size_t start, peak, valley, end;  // end: one past the cycle's last point
    bool unloaded;                         // false: the test ends before this cycle unloads
};

// An unloading takes its time and gives back depth; a pop-in's load drop
// comes within a few points while the depth jumps forward.
bool isUnloading(std::span<const double> f, std::span<const double> depth, std::size_t start,
                 std::size_t peak, std::size_t valley) {
    const std::size_t fallPoints = valley - peak;
    const double loadingPoints = static_cast<double>(peak - start);
    if (fallPoints < 2 || static_cast<double>(fallPoints) < kMinFallShare * loadingPoints) {
        return false;
    }
    return depth.size() != f.size() || depth[valley] < depth[peak];
}

std::vector<Cycle> findCycles(std::span<const double> f, std::span<const double> depth) {
    const double highest = *std::max_element(f.begin(), f.end());
    std::vector<Cycle> cycles;
    std::size_t start = 0;
    while (start < f.size()) {
        std::size_t peak = start;
        std::size_t valley = f.size();
        std::size_t climb = f.size();  // where the force has climbed back out of the valley
        for (std::size_t i = start; i < f.size(); ++i) {
            if (f[i] > f[peak]) {
                peak = i;
            }
            if (f[peak] < kMinCyclePeak * highest || f[i] >= (1 - kCycleFall) * f[peak]) {
                continue;
            }
            std::size_t low = i, j = i;
            for (; j < f.size(); ++j) {
                if (f[j] < f[low]) {
                    low = j;
                }
                if (f[j] > f[low] + kCycleFall * (f[peak] - f[low])) {
                    break;
                }
            }
            if (isUnloading(f, depth, start, peak, low)) {
                valley = low;
                climb = j;
                break;
            }
            i = j;  // a pop-in: the loading goes on
        }
        if (valley == f.size()) {
            cycles.push_back({start, peak, f.size() - 1, f.size(), false});
            break;
        }
        if (climb >= f.size()) {  // no reload follows: the rest is this cycle's bottom
            cycles.push_back({start, peak, valley, f.size(), true});
            break;
        }
        cycles.push_back({start, peak, valley, valley + 1, true});
        start = valley + 1;
    }
    return cycles;
}

// Mean fall per point from a to b (b > a); positive when falling.
double fallRate(std::span<const double> f, std::size_t a, std::size_t b) {
    return b > a ? (f[a] - f[b]) / static_cast<double>(b - a) : 0.0;
}

std::size_t windowFor(double rate, double noise, std::size_t span) {
    const std::size_t longest = std::max<std::size_t>(1, span / 10);
    const double points = std::ceil(6 * noise / (kRateShare * rate));
    if (!(rate > 0) || !(points >= 1)) {
        return 1;
    }
    return points < static_cast<double>(longest) ? static_cast<std::size_t>(points) : longest;
}

// A hold inside an unloading that ends the test (a thermal drift hold at a
// low force, then the last unloading): a long run in the lower half of the
// peak whose force no longer falls at half the unloading's rate is B.
void markLowHolds(std::span<const double> f, std::string& letters, std::size_t from, std::size_t to,
                  double rate, std::size_t window, double peak) {
    if (!(rate > 0) || to <= from + window) {
        return;
    }
    const std::size_t shortest = std::max<std::size_t>(3 * window, (to - from) / 20);
    std::size_t runStart = to;
    for (std::size_t i = from; i + window < to; ++i) {
        const bool flat =
            f[i] < 0.5 * peak && f[i] - f[i + window] < kRateShare * rate * static_cast<double>(window);
        if (flat && runStart == to) {
            runStart = i;
        }
        if (!flat && runStart != to) {
            if (i + window - runStart >= shortest) {
                std::fill(letters.begin() + static_cast<std::ptrdiff_t>(runStart),
                          letters.begin() + static_cast<std::ptrdiff_t>(i + 1), 'B');
            }
            runStart = to;
        }
    }
}

}  // namespace

std::string segmentsFromShape(std::span<const double> f, std::span<const double> depth) {
    const std::size_t n = f.size();
    std::string letters(n, 'L');
    if (n < 3) {
        return letters;
    }
    const double noise = noiseSpread(f);
    const std::vector<Cycle> cycles = findCycles(f, depth);
    std::size_t nextFree = 0;  // first point not in the previous cycle's bottom hold
    for (std::size_t c = 0; c < cycles.size(); ++c) {
        const Cycle& cy = cycles[c];
        const double peak = f[cy.peak];
        const double band = std::max(kHoldBand * std::fabs(peak), 4 * noise);
        const char rising = c == 0 ? 'L' : 'R';
        const std::size_t nextFreeBefore = nextFree;

        // Loading to the hold band, then on while it still rises at half the ramp's rate.
        std::size_t holdStart = std::max(cy.start, nextFree);
        while (holdStart < cy.peak && f[holdStart] < peak - band) {
            ++holdStart;
        }
        std::size_t halfUp = cy.start;
        while (halfUp < holdStart && f[halfUp] < f[cy.start] + 0.5 * (peak - f[cy.start])) {
            ++halfUp;
        }
        const double riseRate = -fallRate(f, halfUp, holdStart);
        const std::size_t upWindow = windowFor(riseRate, noise, holdStart - cy.start);
        while (holdStart < cy.peak && holdStart + upWindow < n &&
               f[holdStart + upWindow] - f[holdStart] >=
                   kRateShare * riseRate * static_cast<double>(upWindow)) {
            ++holdStart;
        }

        // Unloading: traced back from the first point below 70 % of the peak.
        std::size_t unloadStart = cy.peak + 1;
        std::size_t bottomStart = cy.end;
        double unloadRate = 0;
        std::size_t unloadWindow = 1;
        if (cy.unloaded) {
            std::size_t fallen = cy.peak;
            while (fallen < cy.valley && f[fallen] >= (1 - kCycleFall) * peak) {
                ++fallen;
            }
            std::size_t low = fallen;
            const double valleyForce = f[cy.valley];
            while (low < cy.valley && f[low] > valleyForce + 0.5 * (f[fallen] - valleyForce)) {
                ++low;
            }
            const double rate = fallRate(f, fallen, std::min(std::max(low, fallen + 1), cy.valley));
            const std::size_t window = windowFor(rate, noise, cy.valley - cy.peak);
            unloadRate = rate;
            unloadWindow = window;
            unloadStart = fallen;
            while (unloadStart > cy.peak + 1 && unloadStart >= window &&
                   f[unloadStart - window] - f[unloadStart] >=
                       kRateShare * rate * static_cast<double>(window)) {
                --unloadStart;
            }
            // Bottom hold: the valley's band, less the points still falling at the unloading's
            // rate. A test that ends in its valley ends unloading.
            bottomStart = n;
            if (cy.valley + 1 < n) {
                bottomStart = cy.valley;
                while (bottomStart > unloadStart && f[bottomStart - 1] <= valleyForce + band) {
                    --bottomStart;
                }
                while (bottomStart < cy.valley && bottomStart + window <= cy.valley &&
                       f[bottomStart] - f[bottomStart + window] >=
                           kRateShare * rate * static_cast<double>(window)) {
                    ++bottomStart;
                }
                std::size_t bottomEnd = cy.valley + 1;
                while (bottomEnd < n && f[bottomEnd] <= valleyForce + band) {
                    ++bottomEnd;
                }
                std::fill(letters.begin() + static_cast<std::ptrdiff_t>(bottomStart),
                          letters.begin() + static_cast<std::ptrdiff_t>(bottomEnd), 'B');
                nextFree = bottomEnd;
            }
        } else {
            unloadStart = cy.end;  // never unloaded: the test ends in the hold
        }
        for (std::size_t i = std::max(cy.start, nextFreeBefore); i < holdStart; ++i) {
            letters[i] = rising;
        }
        for (std::size_t i = holdStart; i < unloadStart && i < cy.end; ++i) {
            letters[i] = 'T';
        }
        for (std::size_t i = unloadStart; i < bottomStart && i < cy.end; ++i) {
            letters[i] = 'U';
        }
        if (bottomStart == n) {
            markLowHolds(f, letters, unloadStart, n, unloadRate, unloadWindow, peak);
        }
        letters[cy.peak] = 'T';
    }
    return letters;
}

std::string runLengthLetters(std::string_view letters) {
    std::string out;
    std::size_t i = 0;
    while (i < letters.size()) {
        std::size_t j = i;
        while (j < letters.size() && letters[j] == letters[i]) {
            ++j;
        }
        out += letters[i];
        out += formatC("%zu", j - i);
        i = j;
    }
    return out;
}

}  // namespace mivaro::recognise

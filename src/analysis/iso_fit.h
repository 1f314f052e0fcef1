#pragma once

// The least-squares fit of the unloading power law P = a (h - hf)^m in linear
// force (Levenberg-Marquardt on a, m, hf), and the Oliver-Pharr contact-depth
// factor of the fitted exponent.

#include "analysis/power_law_fit.h"

namespace mivaro {

struct LsqFit {
    double a = 0;
    double m = 0;
    double hf = 0;
    double r2 = 0;  // 1 - SSres/SStot in linear force
    int iterations = 0;
    bool converged = false;  // false: no usable fit (a, m, hf NaN)
};

// Stops when an accepted step changes the sum of squares by less than
// kLsqRelativeTolerance of it and moves every parameter by less than
// kLsqRelativeTolerance of its size (hf: of the depth span), or after
// kLsqMaxIterations. hf stays below the smallest depth of the data.
inline constexpr double kLsqRelativeTolerance = 1e-12;
inline constexpr int kLsqMaxIterations = 200;

// Fits P = a (h - hf)^m to the n points, started from start (a, m, hf of an
// accepted document fit).
LsqFit fitPowerLawLsq(const double* h, const double* P, int n, const PowerLawFit& start);

// Oliver and Pharr's ε(m) = m (1 - 2 Γ(m / (2 (m - 1))) (m - 1) / (√π Γ(1 / (2 (m - 1))))):
// 0.75 for m = 1.5 (paraboloid), 0.727 for m = 2 (cone), 1 for m -> 1 (flat punch).
// NaN for m <= 1.
double epsilonOfExponent(double m);

}  // namespace mivaro

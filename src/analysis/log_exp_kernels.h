#pragma once

#include <cmath>

namespace mivaro {

// Natural logarithm and exponential over arrays, written so the compiler can
// vectorise the loops (the fit spends nearly all its time here). Accurate to
// about one unit in the last place; special inputs (zero, negative, subnormal,
// infinite, NaN, exponents out of range) fall back to std::log / std::exp.

// out[i] = ln(in[i]) for i < n.
void logArray(const double* in, double* out, int n);

// Stores L[i] = ln(h[i] - shift) in lnd and sums x[i] = scale * L[i] for a
// least-squares line through (x, y).
struct LogSums {
    double sumL = 0;   // sum of x
    double sumLY = 0;  // sum of x * y
    double sumLL = 0;  // sum of x * x
};
LogSums logShiftedSums(const double* h, double shift, double scale, const double* y, int n, double* lnd);

// Sum over i < n of (exp(offset + slope * lnd[i]) - p[i])^2. Stops early, with
// a partial sum above stopAbove, once the sum is known to exceed stopAbove.
double sumSquaredExpResiduals(const double* lnd, const double* p, int n, double offset, double slope,
                              double stopAbove = HUGE_VAL);

}  // namespace mivaro

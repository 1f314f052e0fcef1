#pragma once

namespace mivaro {

// Natural logarithm and exponential over arrays, written so the compiler can
// vectorise the loops (the fit spends nearly all its time here). Accurate to
// about one unit in the last place; special inputs (zero, negative, subnormal,
// infinite, NaN, exponents out of range) fall back to std::log / std::exp.

// out[i] = ln(in[i]) for i < n.
void logArray(const double* in, double* out, int n);

// Sum over i < n of (exp(offset + slope * lnd[i]) - p[i])^2. scratch holds n doubles.
double sumSquaredExpResiduals(const double* lnd, const double* p, int n, double offset, double slope,
                              double* scratch);

}  // namespace mivaro

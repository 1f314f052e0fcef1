#pragma once

namespace mivaro {

// Least-squares straight line y = intercept + slope * x.
struct LineFit {
    double intercept = 0;
    double slope = 0;
    double r2 = 0;
};

// Result of the power-law fit P = a (h - hf)^m.
struct PowerLawFit {
    double a = 0;
    double m = 0;
    double hf = 0;
    double r2 = 0;
    bool accepted = false;  // false: no candidate passed (r2 = 0, hf = h[0], a and m NaN)
};

LineFit FitLine(const double* x, const double* y, int k);

// Searches hf by grid refinement and fits a, m on the log-log data of each
// candidate. Returns r2 of the accepted candidate, 0 when none was accepted.
double FitPowerLaw(const double* h, const double* P, int n, double& a, double& m, double& hf);

// The same fit with its acceptance flag. allowThreads lets a long fit spread
// its candidates over the cores; callers that already run in parallel pass false.
// log10P (optional) holds log10(P[j]) where P[j] > 0, for callers that fit
// overlapping parts of the same data.
PowerLawFit fitPowerLaw(const double* h, const double* P, int n, bool allowThreads = true,
                        const double* log10P = nullptr);

}  // namespace mivaro

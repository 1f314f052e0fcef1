#pragma once

// The straightforward power-law fit: two logarithms and a power per point and
// candidate, one thread. Kept as the reference the fast fit is measured and
// checked against; same candidates, same acceptance.

#include <algorithm>
#include <cmath>
#include <vector>

namespace mivaro::baseline {

struct Fit {
    double a = 0;
    double m = 0;
    double hf = 0;
    double r2 = 0;
    bool accepted = false;
};

inline void fitLine(const double* x, const double* y, int k, double& intercept, double& slope, double& r2) {
    double sx = 0, sy = 0, sxy = 0, sxx = 0, syy = 0;
    for (int i = 0; i < k; ++i) {
        sx += x[i];
        sy += y[i];
        sxy += x[i] * y[i];
        sxx += x[i] * x[i];
        syy += y[i] * y[i];
    }
    const double mx = sx / k, my = sy / k;
    const double cxy = sxy - sx * sy / k;
    const double vx = sxx - k * mx * mx;
    const double vy = syy - k * my * my;
    slope = cxy / vx;
    intercept = my - slope * mx;
    const double r = cxy / std::pow(vx * vy, 0.5);
    r2 = r * r;
}

inline Fit fitPowerLaw(const double* h, const double* P, int n) {
    Fit best;
    best.a = std::nan("");
    best.m = std::nan("");
    if (n <= 0) {
        return best;
    }
    best.hf = h[0];
    std::vector<double> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
    const double c = h[0] + (h[n - 1] - h[0]) * 0.5;
    double lo = -c, hi = c;
    double error = 9e9;
    for (int pass = 0; pass < 10; ++pass) {
        const double previous = error;
        error = 9e9;
        if (lo < hi) {
            const double step = 0.02 * (hi - lo);
            for (double hf = lo; hf < hi;) {
                bool reject = false;
                for (int j = 0; j < n; ++j) {
                    if (h[j] - hf <= 0) {
                        reject = true;
                        break;
                    }
                }
                if (reject) {
                    break;
                }
                int k = 0;
                for (int j = 0; j < n; ++j) {
                    if (P[j] > 0) {
                        x[static_cast<std::size_t>(k)] = std::log10(h[j] - hf);
                        y[static_cast<std::size_t>(k)] = std::log10(P[j]);
                        ++k;
                    }
                }
                double intercept = 0, slope = 0, r2 = 0;
                fitLine(x.data(), y.data(), k, intercept, slope, r2);
                const double a = std::pow(10.0, intercept);
                double sum = 0;
                for (int j = 0; j < n; ++j) {
                    sum += std::pow(a * std::pow(h[j] - hf, slope) - P[j], 2);
                }
                const double e = std::pow(sum / n, 0.5);
                if (e < error && slope >= 1) {
                    error = e;
                    best = {a, slope, hf, r2, true};
                }
                const double next = hf + step;
                if (!(next > hf)) {
                    break;
                }
                hf = next;
            }
        }
        const double quarter = (hi - lo) / 4;
        hi = std::min(best.hf + quarter, hi);
        lo = std::max(best.hf - quarter, lo);
        if (!(std::fabs(previous - error) > 1e-6)) {
            break;
        }
    }
    return best;
}

// Sample modulus of one section with the straightforward fit (no compliance, D0 = D1 = 0).
inline float sectionEs(const double* h, const double* P, int n, float Cf, float epsilon, float Vs, float Ei,
                       float Vi, float C0, float C1, float Pmax, float hmax) {
    std::vector<double> corrected(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        corrected[static_cast<std::size_t>(i)] = h[i] - Cf * P[i];
    }
    const double hm = hmax - static_cast<double>(Cf) * Pmax;
    const Fit fit = fitPowerLaw(corrected.data(), P, n);
    const double S = fit.m * fit.a * std::pow(hm - fit.hf, fit.m - 1);
    const double hc = hm - epsilon * static_cast<double>(Pmax) / S;
    const float area = static_cast<float>((C0 * hc + C1) * hc);
    const float er = static_cast<float>((std::pow(3.141592654, 0.5) * S * 0.5) / std::pow(area * 1e-12, 0.5));
    const double invEr = 1.0 / er;
    return static_cast<float>((1 - static_cast<double>(Vs) * Vs) /
                              (invEr - (1 - static_cast<double>(Vi) * Vi) / Ei));
}

// Every section of w points from q < slots - w - 1 whose first force lies in
// (bottom %, top %] of Pmax, one after the other: (centre depth, Es) pairs.
inline std::vector<std::pair<double, double>> sectionSeries(const double* depth, const double* force,
                                                            int slots, int w, float Cf, float epsilon,
                                                            float Vs, float Ei, float Vi, float C0, float C1,
                                                            float Pmax, float hP, double bottom, double top) {
    std::vector<std::pair<double, double>> series;
    for (int q = 0; q < slots - w - 1; ++q) {
        if (bottom * Pmax * 0.01 < force[q] && force[q] <= top * Pmax * 0.01) {
            const float es = sectionEs(depth + q, force + q, w, Cf, epsilon, Vs, Ei, Vi, C0, C1, Pmax, hP);
            series.emplace_back(depth[q + w / 2], es);
        }
    }
    return series;
}

}  // namespace mivaro::baseline

#include "analysis/iso_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace mivaro {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Params {
    double logA = 0;  // ln a: a spans many decades between tips and units
    double m = 0;
    double hf = 0;
};

// Sum of squared residuals; infinite when hf does not stay below every depth.
double sumOfSquares(const double* h, const double* P, int n, const Params& p) {
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const double x = h[i] - p.hf;
        if (!(x > 0)) {
            return std::numeric_limits<double>::infinity();
        }
        const double r = std::exp(p.logA + p.m * std::log(x)) - P[i];
        sum += r * r;
    }
    return std::isfinite(sum) ? sum : std::numeric_limits<double>::infinity();
}

// Solves A x = b for a symmetric positive definite 3x3 A (Cholesky); false when singular.
bool solve3(const std::array<std::array<double, 3>, 3>& A, const std::array<double, 3>& b,
            std::array<double, 3>& x) {
    std::array<std::array<double, 3>, 3> L{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j <= i; ++j) {
            double sum = A[i][j];
            for (int k = 0; k < j; ++k) {
                sum -= L[i][k] * L[j][k];
            }
            if (i == j) {
                if (!(sum > 0)) {
                    return false;
                }
                L[i][i] = std::sqrt(sum);
            } else {
                L[i][j] = sum / L[j][j];
            }
        }
    }
    std::array<double, 3> y{};
    for (int i = 0; i < 3; ++i) {
        double sum = b[i];
        for (int k = 0; k < i; ++k) {
            sum -= L[i][k] * y[k];
        }
        y[i] = sum / L[i][i];
    }
    for (int i = 2; i >= 0; --i) {
        double sum = y[i];
        for (int k = i + 1; k < 3; ++k) {
            sum -= L[k][i] * x[k];
        }
        x[i] = sum / L[i][i];
    }
    return true;
}

}  // namespace

LsqFit fitPowerLawLsq(const double* h, const double* P, int n, const PowerLawFit& start) {
    LsqFit out;
    out.a = out.m = out.hf = kNaN;
    if (n < 3 || !(start.a > 0) || !std::isfinite(start.m) || !std::isfinite(start.hf)) {
        return out;
    }
    const auto [lowest, highest] = std::minmax_element(h, h + n);
    const double span = std::max(*highest - *lowest, 1e-300);
    Params p{std::log(start.a), start.m, start.hf};
    double cost = sumOfSquares(h, P, n, p);
    if (!std::isfinite(cost)) {
        return out;
    }
    double lambda = 1e-3;
    int iteration = 0;
    bool converged = false;
    while (iteration < kLsqMaxIterations && !converged) {
        ++iteration;
        // Normal equations of the Jacobian of model = exp(logA) (h - hf)^m.
        std::array<std::array<double, 3>, 3> JtJ{};
        std::array<double, 3> Jtr{};
        for (int i = 0; i < n; ++i) {
            const double x = h[i] - p.hf;
            const double lx = std::log(x);
            const double model = std::exp(p.logA + p.m * lx);
            const std::array<double, 3> J{model, model * lx, -p.m * model / x};
            const double r = P[i] - model;
            for (int a = 0; a < 3; ++a) {
                Jtr[a] += J[a] * r;
                for (int b = 0; b <= a; ++b) {
                    JtJ[a][b] += J[a] * J[b];
                }
            }
        }
        for (int a = 0; a < 3; ++a) {
            for (int b = a + 1; b < 3; ++b) {
                JtJ[a][b] = JtJ[b][a];
            }
        }
        bool accepted = false;
        while (!accepted && lambda < 1e16) {
            auto damped = JtJ;
            for (int a = 0; a < 3; ++a) {
                damped[a][a] += lambda * std::max(JtJ[a][a], 1e-300);
            }
            std::array<double, 3> step{};
            if (!solve3(damped, Jtr, step)) {
                lambda *= 10;
                continue;
            }
            const Params trial{p.logA + step[0], p.m + step[1], p.hf + step[2]};
            const double trialCost = sumOfSquares(h, P, n, trial);
            if (trialCost <= cost) {
                const bool smallChange = cost - trialCost <= kLsqRelativeTolerance * cost;
                const bool smallStep =
                    std::fabs(step[0]) <= kLsqRelativeTolerance * std::max(1.0, std::fabs(p.logA)) &&
                    std::fabs(step[1]) <= kLsqRelativeTolerance * std::fabs(p.m) &&
                    std::fabs(step[2]) <= kLsqRelativeTolerance * span;
                p = trial;
                cost = trialCost;
                lambda = std::max(lambda * 0.1, 1e-12);
                accepted = true;
                converged = smallChange && smallStep;
            } else {
                lambda *= 10;
            }
        }
        if (!accepted) {
            // No step lowers the sum any further: the minimum within the numbers' precision.
            converged = true;
        }
    }
    double mean = 0;
    for (int i = 0; i < n; ++i) {
        mean += P[i];
    }
    mean /= n;
    double total = 0;
    for (int i = 0; i < n; ++i) {
        total += (P[i] - mean) * (P[i] - mean);
    }
    out.a = std::exp(p.logA);
    out.m = p.m;
    out.hf = p.hf;
    out.r2 = total > 0 ? 1 - cost / total : 0;
    out.iterations = iteration;
    out.converged = converged && std::isfinite(out.a) && std::isfinite(out.m);
    if (!out.converged) {
        out.a = out.m = out.hf = kNaN;
    }
    return out;
}

double epsilonOfExponent(double m) {
    if (!(m > 1) || !std::isfinite(m)) {
        return kNaN;
    }
    const double g = 2 * (m - 1);
    // Γ ratio through lgamma: both arguments grow without bound as m approaches 1.
    const double ratio = std::exp(std::lgamma(m / g) - std::lgamma(1 / g));
    return m * (1 - 2 * ratio * (m - 1) / std::sqrt(M_PI));
}

}  // namespace mivaro

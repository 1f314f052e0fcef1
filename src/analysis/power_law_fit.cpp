#include "analysis/power_law_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "analysis/log_exp_kernels.h"
#include "analysis/parallel_shares.h"

namespace mivaro {
namespace {

constexpr double kNoFitError = 9e9;  // pass error before any candidate is accepted
constexpr int kMaxPasses = 10;
constexpr double kStopChange = 1e-6;
constexpr double kLn10 = 2.302585092994045684;
constexpr double kInvLn10 = 0.43429448190325182765;
// Below this many point evaluations per pass a second thread costs more than it saves.
constexpr long kThreadedWork = 200000;

struct Candidate {
    double hf = 0;
    double a = 0;
    double m = 0;
    double r2 = 0;
    double error = 0;  // NaN when the candidate cannot be accepted (m < 1 or not finite)
};

// The data of one call, split so the per-candidate work is as small as possible:
// the force logarithms do not depend on the candidate and are taken once.
struct FitData {
    int n = 0;
    int minIndex = -1;          // smallest depth (NaN ignored): decides the rejection
    std::vector<double> hPos;   // depths of points with P > 0, in point order
    std::vector<double> pPos;   // their forces
    std::vector<double> yPos;   // log10 of their forces
    std::vector<double> hRest;  // points with P <= 0 (or NaN): only in the error
    std::vector<double> pRest;
    double sumY = 0;
    double sumYY = 0;
};

// Work arrays of one thread.
struct FitScratch {
    std::vector<double> lnd;
    explicit FitScratch(std::size_t size) : lnd(size) {}
};

FitData prepare(const double* h, const double* P, int n, const double* log10P) {
    FitData data;
    data.n = n;
    for (int j = 0; j < n; ++j) {
        if (!std::isnan(h[j]) && (data.minIndex < 0 || h[j] < h[data.minIndex])) {
            data.minIndex = j;
        }
        if (P[j] > 0) {
            const double y = log10P != nullptr ? log10P[j] : std::log10(P[j]);
            data.hPos.push_back(h[j]);
            data.pPos.push_back(P[j]);
            data.yPos.push_back(y);
            data.sumY += y;
            data.sumYY += y * y;
        } else {
            data.hRest.push_back(h[j]);
            data.pRest.push_back(P[j]);
        }
    }
    return data;
}

bool rejected(const double* h, const FitData& data, double hf) {
    return data.minIndex >= 0 && h[data.minIndex] - hf <= 0;
}

// stopAbove: a sum of squared residuals above which the candidate cannot be
// accepted; the error is then left NaN without finishing the sum.
Candidate evaluate(const FitData& data, FitScratch& scratch, double hf, double stopAbove = HUGE_VAL) {
    Candidate c;
    c.hf = hf;
    c.error = std::numeric_limits<double>::quiet_NaN();
    const int k = static_cast<int>(data.hPos.size());
    double* lnd = scratch.lnd.data();
    // x = log10(h - hf) = ln(h - hf) / ln 10; ln is kept for the model values.
    const LogSums sums = logShiftedSums(data.hPos.data(), hf, kInvLn10, data.yPos.data(), k, lnd);
    const double sumX = sums.sumL;
    const double sumXY = sums.sumLY;
    const double sumXX = sums.sumLL;
    const double meanX = sumX / k;
    const double meanY = data.sumY / k;
    const double covXY = sumXY - sumX * data.sumY / k;
    const double varX = sumXX - k * meanX * meanX;
    const double varY = data.sumYY - k * meanY * meanY;
    const double slope = covXY / varX;
    const double intercept = meanY - slope * meanX;
    const double r = covXY / std::pow(varX * varY, 0.5);
    c.m = slope;
    c.a = std::pow(10.0, intercept);
    c.r2 = r * r;
    if (!(slope >= 1)) {
        return c;  // never accepted: the error is not needed
    }
    double sum = sumSquaredExpResiduals(lnd, data.pPos.data(), k, intercept * kLn10, slope, stopAbove);
    if (sum > stopAbove) {
        return c;
    }
    for (std::size_t i = 0; i < data.hRest.size(); ++i) {
        sum += std::pow(c.a * std::pow(data.hRest[i] - hf, slope) - data.pRest[i], 2);
    }
    c.error = std::pow(sum / data.n, 0.5);
    return c;
}

// The sum of squares above which an error cannot be below passError (with a
// margin far above the rounding of the root).
double stopAboveFor(double passError, int n) {
    return passError * passError * n * (1 + 1e-9);
}

unsigned threadsFor(const FitData& data, std::size_t candidates, bool allowThreads) {
    if (!allowThreads || static_cast<long>(data.n) * static_cast<long>(candidates) < kThreadedWork) {
        return 1;
    }
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    return std::min<unsigned>(threads, static_cast<unsigned>(candidates));
}

// Every candidate in full, spread over the threads; acceptance follows in scan order.
void evaluateAll(const FitData& data, const std::vector<double>& hfs, std::vector<Candidate>& out,
                 unsigned threads) {
    out.resize(hfs.size());
    const std::size_t size = std::max<std::size_t>(data.hPos.size(), 1);
    auto work = [&](unsigned first) {
        FitScratch scratch(size);
        for (std::size_t i = first; i < hfs.size(); i += threads) {
            out[i] = evaluate(data, scratch, hfs[i]);
        }
    };
    runShares(threads, work);
}

}  // namespace

LineFit FitLine(const double* x, const double* y, int k) {
    double sumX = 0, sumY = 0, sumXY = 0, sumXX = 0, sumYY = 0;
    for (int i = 0; i < k; ++i) {
        sumX += x[i];
        sumY += y[i];
        sumXY += x[i] * y[i];
        sumXX += x[i] * x[i];
        sumYY += y[i] * y[i];
    }
    const double meanX = sumX / k;
    const double meanY = sumY / k;
    const double covXY = sumXY - sumX * sumY / k;
    const double varX = sumXX - k * meanX * meanX;
    const double varY = sumYY - k * meanY * meanY;
    LineFit fit;
    fit.slope = covXY / varX;
    fit.intercept = meanY - fit.slope * meanX;
    const double r = covXY / std::pow(varX * varY, 0.5);
    fit.r2 = r * r;
    return fit;
}

PowerLawFit fitPowerLaw(const double* h, const double* P, int n, bool allowThreads, const double* log10P) {
    PowerLawFit best;
    best.a = std::numeric_limits<double>::quiet_NaN();
    best.m = std::numeric_limits<double>::quiet_NaN();
    if (n <= 0) {
        return best;
    }
    best.hf = h[0];
    const FitData data = prepare(h, P, n, log10P);
    const double c = h[0] + (h[n - 1] - h[0]) * 0.5;
    double lo = -c;
    double hi = c;
    double error = kNoFitError;
    std::vector<double> hfs;
    std::vector<Candidate> results;
    FitScratch scratch(std::max<std::size_t>(data.hPos.size(), 1));
    const auto consider = [&](const Candidate& candidate) {
        if (candidate.error < error && candidate.m >= 1) {
            error = candidate.error;
            best.hf = candidate.hf;
            best.a = candidate.a;
            best.m = candidate.m;
            best.r2 = candidate.r2;
            best.accepted = true;
        }
    };
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        const double previousError = error;
        error = kNoFitError;
        if (lo < hi) {
            // The candidates up to the first rejected one; the scan order is kept below.
            const double step = 0.02 * (hi - lo);
            hfs.clear();
            for (double hf = lo; hf < hi;) {
                if (rejected(h, data, hf)) {
                    break;
                }
                hfs.push_back(hf);
                const double next = hf + step;
                if (!(next > hf)) {
                    break;  // the step vanished next to hf: no further candidate
                }
                hf = next;
            }
            const unsigned threads = threadsFor(data, hfs.size(), allowThreads);
            if (threads > 1) {
                evaluateAll(data, hfs, results, threads);
                for (const Candidate& candidate : results) {
                    consider(candidate);
                }
            } else {
                // One by one, a candidate's sum stops as soon as it cannot beat the pass's best.
                for (const double hf : hfs) {
                    consider(evaluate(data, scratch, hf, stopAboveFor(error, n)));
                }
            }
        }
        const double quarter = (hi - lo) / 4;
        hi = std::min(best.hf + quarter, hi);
        lo = std::max(best.hf - quarter, lo);
        if (!(std::fabs(previousError - error) > kStopChange)) {
            break;
        }
    }
    return best;
}

double FitPowerLaw(const double* h, const double* P, int n, double& a, double& m, double& hf) {
    const PowerLawFit fit = fitPowerLaw(h, P, n);
    a = fit.a;
    m = fit.m;
    hf = fit.hf;
    return fit.r2;
}

}  // namespace mivaro

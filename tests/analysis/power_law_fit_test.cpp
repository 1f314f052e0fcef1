#include "analysis/power_law_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "analysis/log_exp_kernels.h"
#include "baseline_power_law_fit.h"

namespace mivaro {
namespace {

struct Curve {
    std::vector<double> h, P;
};

Curve powerLaw(double a, double hf, double m, double from, double to, int count) {
    Curve c;
    for (int i = 0; i < count; ++i) {
        const double h = from + (to - from) * i / (count - 1);
        c.h.push_back(h);
        c.P.push_back(a * std::pow(h - hf, m));
    }
    return c;
}

TEST(FitLine, ExactLinesAndScatter) {
    const std::vector<double> x{1, 2, 3, 4};
    const std::vector<double> y{3, 5, 7, 9};
    const LineFit exact = FitLine(x.data(), y.data(), 4);
    EXPECT_DOUBLE_EQ(exact.slope, 2.0);
    EXPECT_DOUBLE_EQ(exact.intercept, 1.0);
    EXPECT_DOUBLE_EQ(exact.r2, 1.0);

    // Hand-computed: Sxy = 2, Sxx = 2, Syy = 8/3.
    const std::vector<double> xs{0, 1, 2};
    const std::vector<double> ys{1, 1, 3};
    const LineFit scatter = FitLine(xs.data(), ys.data(), 3);
    EXPECT_DOUBLE_EQ(scatter.slope, 1.0);
    EXPECT_NEAR(scatter.intercept, 2.0 / 3.0, 1e-15);
    EXPECT_NEAR(scatter.r2, 4.0 / (2.0 * 8.0 / 3.0), 1e-15);

    // All x equal: no line.
    const std::vector<double> flat{2, 2, 2};
    EXPECT_FALSE(std::isfinite(FitLine(flat.data(), ys.data(), 3).slope));
}

TEST(FitPowerLaw, RecoversExactPowerLaw) {
    const Curve c = powerLaw(2.0, 10.0, 1.5, 20, 200, 181);
    double a = 0, m = 0, hf = 0;
    const double r2 = FitPowerLaw(c.h.data(), c.P.data(), 181, a, m, hf);
    // Within the resolution the passes reach before the error stops changing.
    EXPECT_NEAR(hf, 10.0, 0.2);
    EXPECT_NEAR(m, 1.5, 0.01);
    EXPECT_NEAR(a, 2.0, 0.05);
    EXPECT_NEAR(r2, 1.0, 1e-6);
}

TEST(FitPowerLaw, DegenerateInputsGiveNoFit) {
    struct Case {
        const char* name;
        std::vector<double> h, P;
        double expectedHf;
    };
    const std::vector<Case> cases{
        {"no points", {}, {}, 0.0},
        {"one point", {50}, {3}, 50.0},
        {"slope below one everywhere", {10, 20, 40, 80, 160}, {1, 1.2, 1.4, 1.6, 1.8}, 10.0},
        {"no positive force", {10, 20, 30}, {0, -1, -2}, 10.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PowerLawFit fit = fitPowerLaw(c.h.data(), c.P.data(), static_cast<int>(c.h.size()));
        EXPECT_FALSE(fit.accepted);
        EXPECT_EQ(fit.r2, 0.0);
        EXPECT_EQ(fit.hf, c.expectedHf);
    }
}

TEST(FitPowerLaw, NonPositiveForceCountsOnlyInTheError) {
    Curve c = powerLaw(1.0, 5.0, 2.0, 10, 100, 40);
    // A zero force leaves the regression unchanged, so the accepted candidate
    // is the baseline's, whose error includes the full residual of that point.
    c.P[20] = 0;
    const PowerLawFit fast = fitPowerLaw(c.h.data(), c.P.data(), 40);
    const baseline::Fit slow = baseline::fitPowerLaw(c.h.data(), c.P.data(), 40);
    ASSERT_TRUE(fast.accepted);
    EXPECT_EQ(fast.hf, slow.hf);
    EXPECT_NEAR(fast.m, slow.m, 1e-9 * std::fabs(slow.m));
}

TEST(FitPowerLaw, DescendingOrderAndRejectionOfDeepCandidates) {
    // The hardness caller passes points in descending depth; candidates at or
    // above the smallest depth are rejected whatever the order.
    Curve c = powerLaw(0.5, 30.0, 1.7, 40, 400, 60);
    std::reverse(c.h.begin(), c.h.end());
    std::reverse(c.P.begin(), c.P.end());
    const PowerLawFit fit = fitPowerLaw(c.h.data(), c.P.data(), 60);
    ASSERT_TRUE(fit.accepted);
    EXPECT_LT(fit.hf, 40.0);
    EXPECT_NEAR(fit.m, 1.7, 0.03);
}

// The fast fit must pick the same candidate as the straightforward algorithm.
TEST(FitPowerLaw, MatchesStraightforwardAlgorithm) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 1.0);
    struct Case {
        const char* name;
        double a, hf, m, from, to, noiseMn;
        int count;
        bool threads;
    };
    const std::vector<Case> cases{
        {"clean", 0.02, 100, 1.4, 150, 600, 0.0, 300, false},
        {"noisy", 0.002, 250, 1.8, 300, 900, 0.05, 500, false},
        {"reload-like", 0.1, 20, 1.2, 25, 120, 0.01, 120, false},
        {"many points, threads", 0.02, 100, 1.4, 150, 600, 0.02, 12000, true},
        {"tiny forces", 1e-6, 5, 2.3, 6, 50, 1e-8, 80, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Curve data = powerLaw(c.a, c.hf, c.m, c.from, c.to, c.count);
        for (double& p : data.P) {
            p += c.noiseMn * noise(random);
        }
        const PowerLawFit fast = fitPowerLaw(data.h.data(), data.P.data(), c.count, c.threads);
        const baseline::Fit slow = baseline::fitPowerLaw(data.h.data(), data.P.data(), c.count);
        ASSERT_EQ(fast.accepted, slow.accepted);
        EXPECT_NEAR(fast.hf, slow.hf, 1e-9 * std::fabs(slow.hf));
        EXPECT_NEAR(fast.a, slow.a, 1e-9 * std::fabs(slow.a));
        EXPECT_NEAR(fast.m, slow.m, 1e-9 * std::fabs(slow.m));
        EXPECT_NEAR(fast.r2, slow.r2, 1e-9);
    }
}

TEST(LogExpKernels, AgreeWithTheLibraryIncludingSpecialValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> in{
        1e-300, 1e-310, 0.5, 0.7071067811865476, 1.0, 1.0000001, 2.0, 3.14159, 1e5, 1e300,
        0.0,    -1.0,   inf, std::nan("")};
    std::vector<double> out(in.size());
    logArray(in.data(), out.data(), static_cast<int>(in.size()));
    for (std::size_t i = 0; i < in.size(); ++i) {
        SCOPED_TRACE(in[i]);
        const double expected = std::log(in[i]);
        if (std::isfinite(expected)) {
            EXPECT_NEAR(out[i], expected, 4e-16 * std::max(1.0, std::fabs(expected)));
        } else {
            EXPECT_EQ(std::isnan(out[i]), std::isnan(expected));
            EXPECT_EQ(std::isinf(out[i]), std::isinf(expected));
        }
    }
    // exp through the residual sum: offset + slope * lnd with p = 0 gives exp(x)^2.
    const std::vector<double> xs{-700, -20.5, -1e-9, 0, 0.3, 1, 40.25, 354, 709, 800};
    for (double x : xs) {
        SCOPED_TRACE(x);
        const double lnd = 1.0, p = 0.0;
        const double sum = sumSquaredExpResiduals(&lnd, &p, 1, 0.0, x);
        const double expected = std::exp(x) * std::exp(x);
        if (std::isfinite(expected)) {
            EXPECT_NEAR(sum, expected, 1e-15 * expected);
        } else {
            EXPECT_TRUE(std::isinf(sum));
        }
    }
}

TEST(LogExpKernels, BlockedSumsMatchPlainSums) {
    // 37 points: the eight-lane blocks and the remainder, with and without special values.
    for (bool special : {false, true}) {
        SCOPED_TRACE(special);
        std::vector<double> h, y, p;
        for (int i = 0; i < 37; ++i) {
            h.push_back(5.0 + 3.7 * i);
            y.push_back(0.1 * i - 1);
            p.push_back(0.5 * i);
        }
        if (special) {
            h[3] = 2.0;  // h - shift = 0: ln = -inf
        }
        std::vector<double> lnd(h.size());
        const LogSums sums = logShiftedSums(h.data(), 2.0, 1.0, y.data(), 37, lnd.data());
        double sumL = 0, sumLY = 0, sumLL = 0, squares = 0;
        for (std::size_t i = 0; i < h.size(); ++i) {
            const double l = std::log(h[i] - 2.0);
            if (std::isfinite(l)) {
                EXPECT_NEAR(lnd[i], l, 1e-15 * std::max(1.0, std::fabs(l))) << i;
            } else {
                EXPECT_EQ(lnd[i], l) << i;
            }
            sumL += l;
            sumLY += l * y[i];
            sumLL += l * l;
            if (!special) {
                squares += std::pow(std::exp(0.3 + 1.2 * l) - p[i], 2);
            }
        }
        if (special) {
            EXPECT_TRUE(std::isinf(sums.sumL));
            continue;
        }
        EXPECT_NEAR(sums.sumL, sumL, 1e-13 * std::fabs(sumL));
        EXPECT_NEAR(sums.sumLY, sumLY, 1e-13 * std::fabs(sumLY));
        EXPECT_NEAR(sums.sumLL, sumLL, 1e-13 * std::fabs(sumLL));
        EXPECT_NEAR(sumSquaredExpResiduals(lnd.data(), p.data(), 37, 0.3, 1.2), squares, 1e-13 * squares);
    }
}

}  // namespace
}  // namespace mivaro

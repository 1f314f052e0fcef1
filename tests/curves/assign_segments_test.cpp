#include "curves/assign_segments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace mivaro {
namespace {

std::string assign(const std::vector<double>& force, float t) {
    std::string letters(force.size(), 'X');
    AssignSegments(force.data(), static_cast<int>(force.size()), t, letters.data());
    return letters;
}

TEST(AssignSegments, LettersOfTypicalCurves) {
    struct Case {
        const char* what;
        std::vector<double> force;
        float t;
        const char* letters;
    };
    const Case cases[] = {
        {"load, hold, unload, bottom hold, reload past the peak",
         {0.1, 1, 2, 3, 2.9, 2.8, 2.4, 1, 0.5, 0.6, 0.7, 2, 3, 4},
         0.5f,
         "LLLTTTUUUBBRRL"},
        {"all forces below t: all L, the highest becomes T", {0.1, 0.3, 0.2, 0.4, 0.1}, 0.5f, "LLLTL"},
        {"never decreasing: the first of equal maxima is T", {1, 2, 3, 3, 3}, 0.5f, "LLTLL"},
        {"a force equal to Fref - t ends the hold there", {1, 2, 3, 2.5, 2.0, 1.0}, 0.5f, "LLTTUU"},
        {"a reload that stays below the peak keeps R; the next drop starts a new cycle",
         {1, 2, 3, 2, 1, 1.2, 2, 2.5, 2.4, 2.0, 1.0},
         0.1f,
         "LLTTUBRRTUU"},
        {"t = 0: no hold apart from the peak", {1, 2, 3, 2, 1, 1, 2}, 0.0f, "LLTUURR"},
        {"a single point", {5}, 0.5f, "T"},
        {"empty", {}, 0.5f, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(assign(c.force, c.t), c.letters) << c.what;
    }
}

TEST(AssignSegments, AfterPassingThePeakOnlyNewMaximaAreLetteredDuringTheReload) {
    // 3.5 passes the peak of 3 ('L'); 3.5 again is not a new maximum and keeps 'X'.
    EXPECT_EQ(assign({1, 2, 3, 2, 1, 2, 3.5, 3.5, 4}, 0.1f), "LLTTUBLXL");
}

// Every input must end, NaN and infinities included, whatever t is.
TEST(AssignSegments, EndsOnAdversarialForces) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<double>> sequences = {
        {nan, nan, nan},
        {1, 2, nan, 1, nan, 2, nan},
        {1, 2, 1, nan, nan, 0.5, 3},
        {inf, inf, 1, inf, -inf, -inf},
        {1, 2, 3, -inf, -inf, inf, nan},
        {0, 0, 0, 0, 0},
        {1, 0, 1, 0, 1, 0, 1, 0},
        {1e308, -1e308, 1e308, -1e308},
    };
    const float ts[] = {0.5f,
                        0.0f,
                        -1.0f,
                        std::numeric_limits<float>::quiet_NaN(),
                        std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity()};
    for (const auto& force : sequences) {
        for (const float t : ts) {
            const std::string letters = assign(force, t);  // returning at all is the test
            EXPECT_EQ(letters.size(), force.size());
        }
    }
    // Random sequences with a sprinkling of non-finite values.
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> value(-5, 5);
    std::uniform_int_distribution<int> kind(0, 19);
    for (int round = 0; round < 2000; ++round) {
        std::vector<double> force(static_cast<std::size_t>(round % 50));
        for (double& f : force) {
            const int k = kind(random);
            f = k == 0 ? nan : k == 1 ? inf : k == 2 ? -inf : value(random);
        }
        const std::string letters = assign(force, ts[round % 6]);
        EXPECT_EQ(letters.size(), force.size());
    }
}

TEST(AssignSegments, WorksOnTheIndentCurve) {
    IndentCurve curve;
    curve.forceInstability = 0.5f;
    curve.force = {0.1, 1, 2, 3, 2.9, 2.4, 1};
    curve.segment.assign(curve.force.size(), 'X');
    AssignSegments(curve);
    EXPECT_EQ(std::string(curve.segment.begin(), curve.segment.end()), "LLLTTUU");
}

}  // namespace
}  // namespace mivaro

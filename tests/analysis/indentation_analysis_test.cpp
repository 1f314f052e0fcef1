#include "analysis/indentation_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace mivaro {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Purely elastic conical unloading: P = (2/pi) Er tan(alpha) h^2, with Er in
// mN/nm^2 (1 GPa = 1e-6 mN/nm^2).
struct ConicalUnload {
    std::vector<double> h, P;
    float pMax = 0, hMax = 0;
};

ConicalUnload conicalUnload(double erGPa, double alphaDeg, double hMaxNm, int count) {
    ConicalUnload c;
    const double k = 2.0 / kPi * erGPa * 1e-6 * std::tan(alphaDeg * kPi / 180.0);
    for (int i = 0; i < count; ++i) {
        const double h = hMaxNm * (0.3 + 0.7 * i / (count - 1));  // ascending depth
        c.h.push_back(h);
        c.P.push_back(k * h * h);
    }
    c.hMax = static_cast<float>(hMaxNm);
    c.pMax = static_cast<float>(k * hMaxNm * hMaxNm);
    return c;
}

TEST(AnalyseIndentation, SneddonConeRecoversReducedModulus) {
    for (double er : {50.0, 200.0, 600.0}) {
        SCOPED_TRACE(er);
        const ConicalUnload c = conicalUnload(er, 70.3, 800, 200);
        IndentCurve curve;
        AnalyseIndentation(curve, c.h.data(), c.P.data(), 200, 0.0f, 0.727f, 70.0f, 0.17f, 1141.0f, 0.07f,
                           24.5f, 0.0f, 0.0f, 0.0f, c.pMax, c.hMax);
        EXPECT_NEAR(curve.results.Er, er, 0.01 * er);
        EXPECT_NEAR(curve.results.m, 2.0, 0.02);
        EXPECT_GT(curve.results.r2, 0.999);
    }
}

TEST(AnalyseIndentation, WithoutComplianceAndEpsilonContactDepthIsMaximumDepth) {
    const ConicalUnload c = conicalUnload(100, 70.3, 500, 100);
    IndentCurve curve;
    const float es = AnalyseIndentation(curve, c.h.data(), c.P.data(), 100, 0.0f, 0.0f, 70.0f, 0.2f, 1141.0f,
                                        0.07f, 24.5f, 0.0f, 26.44f, 0.0f, c.pMax, c.hMax);
    const IndentationResults& r = curve.results;
    EXPECT_DOUBLE_EQ(r.hc, 500.0);
    // Er from the stiffness and the area at that depth.
    const float area = static_cast<float>(24.5 * 500.0 * 500.0);
    EXPECT_NEAR(r.Er, std::sqrt(3.141592654) * r.S * 0.5 / std::sqrt(area * 1e-12), 1e-3);
    // The four solutions are consistent: solving Es back from Er with the inputs.
    EXPECT_FLOAT_EQ(es, r.Es);
    EXPECT_NEAR(r.Es, (1 - 0.2 * 0.2) / (1 / r.Er - (1 - 0.07 * 0.07) / 1141.0), 1e-2);
    // HM from As at maximum depth, HRA derived from HV.
    EXPECT_NEAR(r.HM, c.pMax / (26.44 * 500.0 * 500.0) * 1e9, 1e-3 * r.HM);
    EXPECT_NEAR(r.HRA, 114.7595 - 298587.7 * std::sqrt((4.476e-9 * r.HV + 6.6982e-6) / r.HV), 1e-3);
}

TEST(AnalyseIndentation, ComplianceShiftsDepths) {
    const ConicalUnload c = conicalUnload(100, 70.3, 500, 100);
    IndentCurve plain, corrected;
    AnalyseIndentation(plain, c.h.data(), c.P.data(), 100, 0.0f, 0.0f, 70, 0.2f, 1141, 0.07f, 24.5f, 0, 0, 0,
                       c.pMax, c.hMax);
    AnalyseIndentation(corrected, c.h.data(), c.P.data(), 100, 2.0f, 0.0f, 70, 0.2f, 1141, 0.07f, 24.5f, 0, 0,
                       0, c.pMax, c.hMax);
    EXPECT_NEAR(corrected.results.hc, 500.0 - 2.0 * c.pMax, 1e-3);
    EXPECT_NE(plain.results.Er, corrected.results.Er);
}

TEST(AnalyseIndentation, ImpossibleInputsGiveNonFiniteValuesNotACrash) {
    const ConicalUnload c = conicalUnload(100, 70.3, 500, 50);
    IndentCurve curve;
    // Ap = 0 and As = 0: infinite modulus and hardness.
    AnalyseIndentation(curve, c.h.data(), c.P.data(), 50, 0, 0, 70, 0.2f, 1141, 0.07f, 0, 0, 0, 0, c.pMax,
                       c.hMax);
    EXPECT_TRUE(std::isinf(curve.results.Er));
    EXPECT_TRUE(std::isinf(curve.results.HM));
    // No points at all.
    AnalyseIndentation(curve, nullptr, nullptr, 0, 0, 0, 70, 0.2f, 1141, 0.07f, 24.5f, 0, 0, 0, 1, 1);
    EXPECT_EQ(curve.results.r2, 0.0);
    EXPECT_TRUE(std::isnan(curve.results.Es));
}

TEST(CountDecimals, CharactersAfterTheFirstPoint) {
    const std::vector<std::pair<std::string, int>> cases{{"", 0},      {"70", 0},    {"70.", 0}, {"70.0", 1},
                                                         {"0.170", 3}, {"1.2.3", 3}, {".5", 1},  {"1e-3", 0}};
    for (const auto& [text, decimals] : cases) {
        EXPECT_EQ(CountDecimals(text), decimals) << text;
    }
}

}  // namespace
}  // namespace mivaro

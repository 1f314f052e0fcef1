#include "analysis/indentation_analysis.h"

#include <cmath>
#include <vector>

#include "platform/c_format.h"

namespace mivaro {
namespace {

constexpr double kPi = 3.141592654;
constexpr double kStandardGravity = 9.80665;

}  // namespace

IndentationResults computeIndentation(const double* h, const double* P, int n, const IndentationInputs& in,
                                      bool allowThreads, PowerLawFit* fitOut, const double* log10P) {
    const double cf = in.complianceNmPerMn;
    std::vector<double> corrected(static_cast<std::size_t>(n > 0 ? n : 0));
    for (int i = 0; i < n; ++i) {
        corrected[static_cast<std::size_t>(i)] = h[i] - cf * P[i];
    }
    const PowerLawFit fit = fitPowerLaw(corrected.data(), P, n, allowThreads, log10P);
    if (fitOut != nullptr) {
        *fitOut = fit;
    }
    return indentationFromFit(fit, in);
}

float documentArea(float C0, float C1, double hc, double extraNm2) {
    return static_cast<float>((C0 * hc + C1) * hc + extraNm2);
}

float documentReducedModulus(double S, float areaNm2) {
    const double er = (std::pow(kPi, 0.5) * S * 0.5) / std::pow(areaNm2 * 1e-12, 0.5);
    return static_cast<float>(er);
}

IndentationResults indentationFromFit(const PowerLawFit& fit, const IndentationInputs& in) {
    const double cf = in.complianceNmPerMn;
    const double pMax = in.pMaxMn;
    const double hMax = in.hMaxNm - cf * pMax;
    IndentationResults r;
    r.r2 = fit.r2;
    r.a = fit.a;
    r.m = fit.m;
    r.hf = fit.hf;
    r.S = fit.m * fit.a * std::pow(hMax - fit.hf, fit.m - 1);
    r.hc = hMax - in.epsilon * pMax / r.S;
    r.Er = documentReducedModulus(r.S, documentArea(in.C0, in.C1, r.hc));

    const double es = in.Es, vs = in.Vs, ei = in.Ei, vi = in.Vi;
    const double invEr = 1.0 / r.Er;
    r.Es = static_cast<float>((1 - vs * vs) / (invEr - (1 - vi * vi) / ei));
    r.Vs = static_cast<float>(std::pow(1 - es * (invEr - (1 - vi * vi) / ei), 0.5));
    r.Vi = static_cast<float>(std::pow(1 - ei * (invEr - (1 - vs * vs) / es), 0.5));
    r.Ei = static_cast<float>((1 - vi * vi) / (invEr - (1 - vs * vs) / es));

    const double surfaceAtMax = in.D0 * hMax * hMax + in.D1 * hMax;
    const double surfaceAtContact = in.D0 * r.hc * r.hc + in.D1 * r.hc;
    const double hv = pMax / (kStandardGravity * surfaceAtContact) * 1e9;
    r.HM = static_cast<float>(pMax / surfaceAtMax * 1e9);
    r.HV = static_cast<float>(hv);
    r.HRA = static_cast<float>(114.7595 - 298587.7 * std::pow((4.476e-9 * hv + 6.6982e-6) / hv, 0.5));
    return r;
}

float AnalyseIndentation(IndentCurve& curve, const double* h, const double* P, int n, float Cf, float epsilon,
                         float Es, float Vs, float Ei, float Vi, float C0, float C1, float D0, float D1,
                         float Pmax, float hmax) {
    const IndentationInputs in{Cf, epsilon, Es, Vs, Ei, Vi, C0, C1, D0, D1, Pmax, hmax};
    curve.results = computeIndentation(h, P, n, in);
    return curve.results.Es;
}

int CountDecimals(const std::string& text) {
    const std::size_t point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

double textToNumber(const std::string& text) {
    double value = 0;
    return scanCDouble(text, value) ? value : 0.0;
}

}  // namespace mivaro

#include "analysis/iso_results.h"

#include <cmath>
#include <vector>

#include "analysis/branch_flow.h"
#include "analysis/indentation_analysis.h"
#include "analysis/iso_fit.h"
#include "curves/curve_types.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

// Vickers' and Berkovich's ratio of surface to depth squared, as HM uses it.
constexpr double kMartensFactor = 26.43;
// mN/nm^2 -> MPa and the modulus' mN/nm / nm -> GPa.
constexpr double kMpaPerMnPerNm2 = 1e9;
constexpr double kGpaPerMnPerNm2 = 1e6;
// A force within 1 % of Fmax counts as held at Fmax.
constexpr double kAtFmax = 0.99;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Where the indent's parts lie (point indices, -1 when absent).
struct Landmarks {
    int peak = -1;         // first point of highest force
    int unloadFirst = -1;  // the unloading run after the peak
    int unloadLast = -1;
    int holdFirst = -1;  // the hold at Fmax just before the unloading
    // Where the unloading starts: the last point from the peak on still at Fmax. A
    // segmentation by force may give the hold the first points of the unloading.
    int unloadStart = -1;
    int loadFirst = -1;  // the loading or reloading run that reaches Fmax
    int loadLast = -1;
    int workFirst = 0;     // where the loading work starts
    int virginFirst = -1;  // the indent's first loading run: where the contact was made
    int virginLast = -1;
};

Landmarks findLandmarks(const std::vector<double>& P, const char* seg, int n) {
    Landmarks l;
    for (int i = 0; i < n; ++i) {
        if (l.peak < 0 ? !std::isnan(P[at(i)]) : P[at(i)] > P[at(l.peak)]) {
            l.peak = i;
        }
    }
    for (int i = l.peak < 0 ? n : l.peak; i < n; ++i) {
        if (seg[i] == UNLOAD) {
            l.unloadFirst = i;
            break;
        }
    }
    if (l.unloadFirst < 0) {
        return l;
    }
    l.unloadLast = l.unloadFirst;
    while (l.unloadLast + 1 < n && seg[l.unloadLast + 1] == UNLOAD) {
        ++l.unloadLast;
    }
    l.unloadStart = l.peak;
    for (int k = l.peak; k < l.unloadFirst; ++k) {
        if (P[at(k)] >= kAtFmax * P[at(l.peak)]) {
            l.unloadStart = k;
        }
    }
    int i = l.unloadFirst - 1;
    if (i >= 0 && seg[i] == TOP_HOLD) {
        while (i > 0 && seg[i - 1] == TOP_HOLD) {
            --i;
        }
        l.holdFirst = i;
        --i;
    }
    while (i >= 0 && seg[i] != LOAD && seg[i] != RELOAD) {
        --i;
    }
    if (i >= 0) {
        l.loadLast = i;
        const char letter = seg[i];
        while (i > 0 && seg[i - 1] == letter) {
            --i;
        }
        l.loadFirst = i;
        // In a test of many cycles the work starts at the low point before the last loading.
        bool earlierCycle = false;
        for (int k = 0; k < l.loadFirst; ++k) {
            earlierCycle = earlierCycle || seg[k] == UNLOAD || seg[k] == RELOAD || seg[k] == BOTTOM_HOLD;
        }
        l.workFirst = earlierCycle ? l.loadFirst - 1 : 0;
    }
    for (int k = 0; k < n && l.virginFirst < 0; ++k) {
        if (seg[k] == LOAD) {
            l.virginFirst = l.virginLast = k;
            while (l.virginLast + 1 < n && seg[l.virginLast + 1] == LOAD) {
                ++l.virginLast;
            }
        }
    }
    return l;
}

// ∫P dh by trapezoids over points first..last.
double trapezoidWork(const std::vector<double>& h, const std::vector<double>& P, int first, int last) {
    double work = 0;
    for (int i = first; i < last; ++i) {
        work += 0.5 * (P[at(i)] + P[at(i + 1)]) * (h[at(i + 1)] - h[at(i)]);
    }
    return work;
}

// The contact point h0 of F = k (h - h0)^n over the loading between two fractions of Fmax.
bool fitZeroPoint(const std::vector<double>& h, const std::vector<double>& P, const Landmarks& l, double fMax,
                  const IsoSetup& setup, double& h0, std::string& error) {
    std::vector<double> hs, ps;
    const double lo = setup.zeroLoPct * 0.01 * fMax;
    const double hi = setup.zeroHiPct * 0.01 * fMax;
    for (int i = l.virginFirst; i >= 0 && i <= l.virginLast; ++i) {
        if (P[at(i)] >= lo && P[at(i)] <= hi) {
            hs.push_back(h[at(i)]);
            ps.push_back(P[at(i)]);
        }
    }
    const int n = static_cast<int>(hs.size());
    const PowerLawFit start = n >= 3 ? fitPowerLaw(hs.data(), ps.data(), n, false) : PowerLawFit{};
    const LsqFit fit = start.accepted ? fitPowerLawLsq(hs.data(), ps.data(), n, start) : LsqFit{};
    if (!fit.converged) {
        error = formatC(
            "The contact point cannot be fitted: the loading between %g %% and %g %% of Fmax "
            "has %d points%s.",
            setup.zeroLoPct, setup.zeroHiPct, n, n >= 3 ? " that no power law fits" : "");
        return false;
    }
    h0 = fit.hf;
    return true;
}

// The drift rate measured as the slope of depth against time over the last
// 80 % of the hold at minimum force after the unloading.
bool holdDriftRate(const std::vector<double>& h, const double* t, const char* seg, int n, const Landmarks& l,
                   double& rate, std::string& error) {
    int first = l.unloadLast + 1;
    while (first < n && seg[first] != BOTTOM_HOLD && seg[first] != LOAD && seg[first] != RELOAD) {
        ++first;
    }
    int last = first;
    while (last + 1 < n && seg[last + 1] == BOTTOM_HOLD) {
        ++last;
    }
    if (first >= n || seg[first] != BOTTOM_HOLD || !(t[last] > t[first])) {
        error = "No timed hold at minimum force follows the unloading, so --drift hold cannot be measured.";
        return false;
    }
    const double from = t[first] + 0.2 * (t[last] - t[first]);
    std::vector<double> ts, hs;
    for (int i = first; i <= last; ++i) {
        if (t[i] >= from) {
            ts.push_back(t[i]);
            hs.push_back(h[at(i)]);
        }
    }
    if (ts.size() < 2) {
        error = "The hold at minimum force has too few points to measure the drift.";
        return false;
    }
    rate = FitLine(ts.data(), hs.data(), static_cast<int>(ts.size())).slope;
    return true;
}

}  // namespace

IsoResults computeIsoResults(const IsoIndent& indent, const IsoSetup& setup, const PowerLawFit* clickFit) {
    IsoResults r;
    const int n = indent.count;
    if (n < 3 || indent.depthNm == nullptr || indent.forceMn == nullptr || indent.segment == nullptr) {
        r.error = "The indent has too few points for the results.";
        return r;
    }
    std::vector<double> h(indent.depthNm, indent.depthNm + n);
    const std::vector<double> P(indent.forceMn, indent.forceMn + n);
    std::vector<double> zeros;
    const double* t = indent.timeS;
    if (t == nullptr) {
        zeros.assign(at(n), 0.0);
        t = zeros.data();
    }
    const char* seg = indent.segment;
    const Landmarks l = findLandmarks(P, seg, n);
    if (l.unloadFirst < 0) {
        r.error = "No unloading run follows the highest force.";
        return r;
    }
    const double fMaxCurve = P[at(l.peak)];

    if (setup.zeroPoint) {
        if (!fitZeroPoint(h, P, l, fMaxCurve, setup, r.zeroPointNm, r.error)) {
            return r;
        }
        for (double& depth : h) {
            depth -= r.zeroPointNm;
        }
    }
    switch (setup.drift) {
        case IsoDrift::Rate:
            r.driftNmPerS = setup.driftNmPerS;
            break;
        case IsoDrift::File:
            r.driftNmPerS = setup.driftAppliedByInstrument ? 0.0 : setup.driftNmPerS;
            break;
        case IsoDrift::Hold:
            if (!holdDriftRate(h, t, seg, n, l, r.driftNmPerS, r.error)) {
                return r;
            }
            break;
        case IsoDrift::Off:
            break;
    }
    if (r.driftNmPerS != 0) {
        for (int i = 0; i < n; ++i) {
            h[at(i)] -= r.driftNmPerS * (t[i] - t[0]);
        }
    }
    // The frame's own deflection under load, taken out of every depth.
    const double cf = setup.frameComplianceNmPerMn;
    std::vector<double> hc(at(n));
    for (int i = 0; i < n; ++i) {
        hc[at(i)] = h[at(i)] - cf * P[at(i)];
    }

    // The unloading run in ascending depth as the modulus action copies it, and its highest force.
    const int runLength = l.unloadLast - l.unloadFirst + 1;
    std::vector<double> branchH, branchP;
    float pMaxRun = 0;
    float hMaxRun = 0;
    for (int i = l.unloadFirst; i <= l.unloadLast; ++i) {
        if (static_cast<float>(P[at(i)]) > pMaxRun) {
            pMaxRun = static_cast<float>(P[at(i)]);
            hMaxRun = static_cast<float>(h[at(i)]);
        }
    }
    const bool document = setup.fit == IsoFitMethod::Document;
    for (int i = l.unloadLast; i >= l.unloadFirst; --i) {
        branchH.push_back(document ? h[at(i)] - static_cast<double>(static_cast<float>(cf)) * P[at(i)]
                                   : hc[at(i)]);
        branchP.push_back(P[at(i)]);
    }
    const ForceRange range =
        forceRangeOf(branchP.data(), runLength, runLength, setup.windowLoPct, setup.windowHiPct, pMaxRun);
    if (range.count < 1) {
        r.error = "The force window selects no points of the unloading.";
        return r;
    }
    const PowerLawFit start =
        clickFit != nullptr
            ? *clickFit
            : fitPowerLaw(branchH.data() + range.start, branchP.data() + range.start, range.count, false);
    if (!start.accepted) {
        r.error = "The power-law fit of the unloading found no acceptable solution.";
        return r;
    }

    if (document) {
        IndentationInputs in;
        in.complianceNmPerMn = static_cast<float>(cf);
        in.C0 = static_cast<float>(setup.area[0]);
        in.C1 = static_cast<float>(setup.area[1]);
        in.pMaxMn = pMaxRun;
        in.hMaxNm = hMaxRun;
        r.epsilonUsed = setup.epsilonFromExponent ? epsilonOfExponent(start.m) : setup.epsilon;
        in.epsilon = static_cast<float>(r.epsilonUsed);
        const IndentationResults d = indentationFromFit(start, in);
        r.Fmax_mN = in.pMaxMn;
        r.hmax_nm = in.hMaxNm - static_cast<double>(in.complianceNmPerMn) * in.pMaxMn;
        r.S_mN_per_nm = d.S;
        r.hc_nm = d.hc;
        r.hf_nm = d.hf;
        r.m = d.m;
        r.a = d.a;
        r.r2 = d.r2;
        r.points_in_fit = range.count;
        // The modulus action's single-precision area, with the terms it does not have added.
        double extra = 0;
        for (int k = 2; k < 6; ++k) {
            extra += setup.area[at(k)] * std::pow(r.hc_nm, std::ldexp(1.0, -(k - 1)));
        }
        const float area = documentArea(in.C0, in.C1, r.hc_nm, extra);
        r.Ap_nm2 = area;
        r.Er_GPa = documentReducedModulus(r.S_mN_per_nm, area) / setup.beta;
    } else {
        r.Fmax_mN = fMaxCurve;
        r.hmax_nm = hc[at(l.unloadStart)];
        const double lo = setup.windowLoPct * 0.01 * r.Fmax_mN;
        const double hi = setup.windowHiPct * 0.01 * r.Fmax_mN;
        std::vector<double> wh, wp;
        // From where the unloading starts: a segmentation by force may have given its first points to the
        // hold.
        for (int i = l.unloadStart; i <= l.unloadLast; ++i) {
            if (P[at(i)] >= lo && P[at(i)] <= hi) {
                wh.push_back(hc[at(i)]);
                wp.push_back(P[at(i)]);
            }
        }
        const LsqFit fit = fitPowerLawLsq(wh.data(), wp.data(), static_cast<int>(wh.size()), start);
        if (!fit.converged) {
            r.error = "The least-squares fit of the unloading did not converge.";
            return r;
        }
        r.a = fit.a;
        r.m = fit.m;
        r.hf_nm = fit.hf;
        r.r2 = fit.r2;
        r.points_in_fit = static_cast<int>(wh.size());
        r.S_mN_per_nm = fit.m * fit.a * std::pow(r.hmax_nm - fit.hf, fit.m - 1);
        r.epsilonUsed = setup.epsilonFromExponent ? epsilonOfExponent(fit.m) : setup.epsilon;
        r.hc_nm = r.hmax_nm - r.epsilonUsed * r.Fmax_mN / r.S_mN_per_nm;
        const std::array<double, 6>& c = setup.area;
        const double x = r.hc_nm;
        r.Ap_nm2 = c[0] * x * x + c[1] * x + c[2] * std::sqrt(x) + c[3] * std::pow(x, 0.25) +
                   c[4] * std::pow(x, 0.125) + c[5] * std::pow(x, 0.0625);
        r.Er_GPa = std::sqrt(M_PI) * r.S_mN_per_nm / (2 * setup.beta * std::sqrt(r.Ap_nm2)) * kGpaPerMnPerNm2;
    }
    r.hr_nm = r.hmax_nm - r.Fmax_mN / r.S_mN_per_nm;
    r.EIT_GPa = (1 - setup.nuS * setup.nuS) / (1 / r.Er_GPa - (1 - setup.nuI * setup.nuI) / setup.eiGPa);
    r.HIT_MPa = r.Fmax_mN / r.Ap_nm2 * kMpaPerMnPerNm2;
    r.HM_MPa = r.Fmax_mN / (kMartensFactor * r.hmax_nm * r.hmax_nm) * kMpaPerMnPerNm2;
    if (!(r.S_mN_per_nm > 0) || !(r.Ap_nm2 > 0) || !std::isfinite(r.Er_GPa) || !std::isfinite(r.hc_nm)) {
        r.error =
            formatC("The unloading fit gives no usable contact (S = %g mN/nm, hc = %g nm, Ap = %g nm^2).",
                    r.S_mN_per_nm, r.hc_nm, r.Ap_nm2);
        return r;
    }
    // A reduced modulus the indenter alone could not give (an over-large frame
    // compliance or an area function outside its depths) leaves EIT negative or infinite.
    const double indenterLimitGPa = setup.eiGPa / (1 - setup.nuI * setup.nuI);
    if (!(r.EIT_GPa > 0) || !std::isfinite(r.EIT_GPa)) {
        r.error = formatC(
            "Er = %.4g GPa is not below what the indenter allows (Ei/(1 - nu_i^2) = %.4g GPa), so EIT "
            "is undefined: check the frame compliance and the area function.",
            r.Er_GPa, indenterLimitGPa);
        return r;
    }

    // Martens hardness from the slope of h against √F on the loading between 50 % and 90 % of Fmax.
    std::vector<double> roots, depths;
    for (int i = l.loadFirst; i >= 0 && i <= l.loadLast; ++i) {
        if (P[at(i)] >= 0.5 * fMaxCurve && P[at(i)] <= 0.9 * fMaxCurve) {
            roots.push_back(std::sqrt(P[at(i)]));
            depths.push_back(hc[at(i)]);
        }
    }
    if (roots.size() >= 2) {
        const double k = FitLine(roots.data(), depths.data(), static_cast<int>(roots.size())).slope;
        if (k != 0 && std::isfinite(k)) {
            r.HMs_MPa = kMpaPerMnPerNm2 / (kMartensFactor * k * k);
        }
    }
    if (l.holdFirst >= 0 && l.holdFirst < l.unloadStart) {
        const int holdLast = l.unloadStart;
        r.CIT_pct = (hc[at(holdLast)] - hc[at(l.holdFirst)]) / hc[at(l.holdFirst)] * 100;
        r.hold_s = t[holdLast] - t[l.holdFirst];
    }
    r.Wtotal_pJ = l.loadFirst >= 0 ? trapezoidWork(hc, P, l.workFirst, l.unloadStart) : 0;
    r.Welast_pJ = -trapezoidWork(hc, P, l.unloadStart, l.unloadLast);
    r.Wplast_pJ = r.Wtotal_pJ - r.Welast_pJ;
    r.etaIT_pct = r.Wtotal_pJ != 0 ? r.Welast_pJ / r.Wtotal_pJ * 100 : std::nan("");
    return r;
}

}  // namespace mivaro

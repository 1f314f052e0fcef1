#pragma once

// The instrument-grade results of one indent: the unloading fit's stiffness,
// contact depth, projected area and moduli, the hardness values, creep and
// indentation work, computed from the indent's points and an IsoSetup.

#include <optional>
#include <string>

#include "analysis/iso_setup.h"
#include "analysis/power_law_fit.h"

namespace mivaro {

// One indent's points (depth nm, force mN, time s, one SegmentKind letter
// each), in test order.
struct IsoIndent {
    const double* depthNm = nullptr;
    const double* forceMn = nullptr;
    const double* timeS = nullptr;
    const char* segment = nullptr;
    int count = 0;
};

struct IsoResults {
    std::string error;  // empty when the quantities below were computed
    double Fmax_mN = 0;
    double hmax_nm = 0;  // where the unloading starts: the end of the hold at Fmax when there is one
    double S_mN_per_nm = 0;
    double hr_nm = 0;
    double hc_nm = 0;
    double hf_nm = 0;
    double m = 0;
    double a = 0;
    double r2 = 0;
    int points_in_fit = 0;
    double Ap_nm2 = 0;
    double Er_GPa = 0;
    double EIT_GPa = 0;
    double HIT_MPa = 0;
    double HM_MPa = 0;
    std::optional<double> HMs_MPa;  // needs loading points between 50 % and 90 % of Fmax
    std::optional<double> CIT_pct;  // needs a hold at Fmax
    std::optional<double> hold_s;
    double Wtotal_pJ = 0;
    double Welast_pJ = 0;
    double Wplast_pJ = 0;
    double etaIT_pct = 0;
    // What the setup's corrections came to on this indent.
    double epsilonUsed = 0;  // ε, or ε(m) of the fitted exponent
    double zeroPointNm = 0;  // h0 subtracted from every depth (0 when off)
    double driftNmPerS = 0;  // rate subtracted as rate x time (0 when off)
};

// The setup's corrections and both fits on one indent; the unloading analysed
// is the run that follows the first point of highest force. clickFit
// (optional) is the document fit of the same points when the caller already
// has it (a batch that clicked the same run with the same range and no
// correction): it spares fitting twice.
IsoResults computeIsoResults(const IsoIndent& indent, const IsoSetup& setup,
                             const PowerLawFit* clickFit = nullptr);

}  // namespace mivaro

#pragma once

#include <string>

#include "analysis/power_law_fit.h"
#include "curves/curve_types.h"
#include "curves/indent_curve.h"

namespace mivaro {

// Material and indenter inputs of one unloading analysis (single precision as typed).
struct IndentationInputs {
    float complianceNmPerMn = 0;  // machine frame compliance Cf
    float epsilon = 0;            // Sneddon's epsilon
    float Es = 0;
    float Vs = 0;
    float Ei = 0;
    float Vi = 0;
    float C0 = 0;  // projected area Ap(h) = C0 h^2 + C1 h
    float C1 = 0;
    float D0 = 0;  // surface area As(h) = D0 h^2 + D1 h
    float D1 = 0;
    float pMaxMn = 0;
    float hMaxNm = 0;
};

// The unloading analysis without side effects: compliance correction, power-law
// fit, stiffness, contact depth, area, reduced modulus, the four solutions and
// the hardness values. fit (optional) receives the fit with its acceptance
// flag; log10P (optional) is handed to the fit.
IndentationResults computeIndentation(const double* h, const double* P, int n, const IndentationInputs& in,
                                      bool allowThreads = true, PowerLawFit* fit = nullptr,
                                      const double* log10P = nullptr);

// The same analysis from a fit already made on the compliance-corrected points.
IndentationResults indentationFromFit(const PowerLawFit& fit, const IndentationInputs& in);

// The modulus action's single-precision projected area C0 hc^2 + C1 hc (nm^2),
// with extraNm2 (further terms of an area function) added before rounding.
float documentArea(float C0, float C1, double hc, double extraNm2 = 0);

// The reduced modulus (GPa) of the modulus action from the stiffness (mN/nm)
// and the single-precision projected area (nm^2).
float documentReducedModulus(double S, float areaNm2);

// Stores the results in the curve and returns Es.
float AnalyseIndentation(IndentCurve& curve, const double* h, const double* P, int n, float Cf, float epsilon,
                         float Es, float Vs, float Ei, float Vi, float C0, float C1, float D0, float D1,
                         float Pmax, float hmax);

// Characters after the first '.' of the text (0 without one): the precision
// a typed value asks for.
int CountDecimals(const std::string& text);

// A typed value as a number; text that is not a number gives 0.
double textToNumber(const std::string& text);

}  // namespace mivaro

#include "analysis/analysis_row.h"

#include <algorithm>

#include "analysis/indentation_analysis.h"
#include "analysis/iso_indent_row.h"

namespace mivaro {
namespace {

const char* const kSolvedColumns[] = {"Es_GPa", "Vs", "Ei_GPa", "Vi"};
const char* const kSolvedNames[] = {"Es", "Vs", "Ei", "Vi"};
const char* const kFormulaNames[] = {"HM", "HV", "HRA"};

int solvedIndex(int solveFor) {
    return solveFor >= 0 && solveFor <= 3 ? solveFor : 0;
}

double solvedValue(const IndentationResults& r, int solveFor) {
    const float values[] = {r.Es, r.Vs, r.Ei, r.Vi};
    return values[solvedIndex(solveFor)];
}

const char* branchName(char letter) {
    switch (letter) {
        case LOAD:
            return "Loading";
        case TOP_HOLD:
            return "Top hold";
        case UNLOAD:
            return "Unloading";
        case RELOAD:
            return "Reloading";
        default:
            return "";
    }
}

void addFit(ResultRow& row, const IndentationResults& r) {
    row.setNumber("hf_nm", r.hf);
    row.setNumber("m", r.m);
    row.setNumber("a", r.a);
    row.setNumber("r2", r.r2);
    row.setNumber("S_mN_per_nm", r.S);
    row.setNumber("hc_nm", r.hc);
    row.setNumber("Er_GPa", r.Er);
}

void addModulusSettings(ResultRow& row, const ModulusSettings& s, bool section) {
    row.setNumber("modulus_C0", textToNumber(s.C0));
    row.setNumber("modulus_C1", textToNumber(s.C1));
    row.setNumber("modulus_Es_GPa", textToNumber(s.Es));
    row.setNumber("modulus_Vs", textToNumber(s.Vs));
    row.setNumber("modulus_Ei_GPa", textToNumber(s.Ei));
    row.setNumber("modulus_Vi", textToNumber(s.Vi));
    row.setText("modulus_solve_for", s.solveFor >= 0 && s.solveFor <= 3 ? kSolvedNames[s.solveFor] : "");
    row.setNumber("modulus_force_min_pct", s.forceMinPercent);
    row.setNumber("modulus_force_max_pct", s.forceMaxPercent);
    row.setNumber("modulus_Cf_nm_per_mN", textToNumber(s.Cf));
    row.setNumber("modulus_epsilon", textToNumber(s.epsilon));
    if (section) {
        row.setNumber("modulus_section_top_pct", textToNumber(s.topPercent));
        row.setNumber("modulus_section_bottom_pct", textToNumber(s.bottomPercent));
        row.setNumber("modulus_section_size_pct", textToNumber(s.sectionSizePercent));
        row.setNumber("modulus_zero_start_depth", s.zeroStartDepth);
    }
}

void addHardnessSettings(ResultRow& row, const HardnessSettings& s) {
    row.setNumber("hardness_C0", textToNumber(s.C0));
    row.setNumber("hardness_C1", textToNumber(s.C1));
    row.setNumber("hardness_D0", textToNumber(s.D0));
    row.setNumber("hardness_D1", textToNumber(s.D1));
    row.setNumber("hardness_Cf_nm_per_mN", textToNumber(s.Cf));
    row.setNumber("hardness_epsilon", textToNumber(s.epsilon));
    row.setText("hardness_formula", s.formula >= 0 && s.formula <= 2 ? kFormulaNames[s.formula] : "");
    row.setNumber("hardness_hold_time_shown", s.includeHoldTime);
}

void addSection(ResultRow& row, const FlowOutcome& outcome) {
    row.setNumber("sections", static_cast<double>(outcome.seriesX.size()));
    if (outcome.seriesX.empty()) {
        return;
    }
    const auto [hMin, hMax] = std::minmax_element(outcome.seriesX.begin(), outcome.seriesX.end());
    const auto [eMin, eMax] = std::minmax_element(outcome.seriesY.begin(), outcome.seriesY.end());
    row.setNumber("section_h_min_nm", *hMin);
    row.setNumber("section_h_max_nm", *hMax);
    row.setNumber("section_E_min_GPa", *eMin);
    row.setNumber("section_E_max_GPa", *eMax);
}

}  // namespace

int pointIndexInFile(const CurveSet& set, int point) {
    if (point < 0 || point >= set.pointCount()) {
        return point;
    }
    const int owner = set.curveIndex[static_cast<std::size_t>(point)];
    return owner < 0 ? point : point - set.firstPointOf(owner);
}

const char* analysisName(AnalysisKind kind) {
    switch (kind) {
        case AnalysisKind::Modulus:
            return "modulus";
        case AnalysisKind::Equation:
            return "equation";
        case AnalysisKind::Section:
            return "section";
        case AnalysisKind::Hardness:
            return "hardness";
        case AnalysisKind::LoadingRate:
            return "loading-rate";
        case AnalysisKind::DisplacementRate:
            return "displacement-rate";
    }
    return "";
}

ResultRow analysisResultRow(const CurveSet& set, const FlowOutcome& outcome,
                            const IndentationResults& results, const std::optional<IsoSetup>& iso) {
    ResultRow row;
    if (!outcome.record) {
        return row;
    }
    const AnalysisRecord& record = *outcome.record;
    row.setText("file", curvePathOf(set, record.clicked));
    row.setText("analysis", analysisName(record.kind));
    const bool onPoint = record.clicked >= 0 && record.clicked < set.pointCount();
    row.setText("branch", onPoint ? branchName(set.segment[static_cast<std::size_t>(record.clicked)]) : "");
    row.setNumber("point", pointIndexInFile(set, record.clicked));
    row.setNumber("first_point", pointIndexInFile(set, record.first));
    row.setNumber("last_point", pointIndexInFile(set, record.last));

    switch (record.kind) {
        case AnalysisKind::Modulus:
        case AnalysisKind::Equation:
            row.setNumber("Pmax_mN", record.pMaxMn);
            row.setNumber("hmax_nm", record.hMaxNm);
            addFit(row, results);
            if (record.modulus) {
                row.setNumber(kSolvedColumns[solvedIndex(record.modulus->solveFor)],
                              solvedValue(results, record.modulus->solveFor));
            }
            break;
        case AnalysisKind::Section:
            row.setNumber("Pmax_mN", record.pMaxMn);
            row.setNumber("hmax_nm", record.hMaxNm);
            addSection(row, outcome);
            break;
        case AnalysisKind::Hardness:
            row.setNumber("Pmax_mN", record.pMaxMn);
            row.setNumber("hmax_nm", record.hMaxNm);
            row.setNumber("hc_nm", results.hc);
            row.setNumber("HM_N_per_mm2", results.HM);
            row.setNumber("HV", results.HV);
            row.setNumber("HRA", results.HRA);
            break;
        case AnalysisKind::LoadingRate:
            row.setNumber("loading_rate_mN_per_s", record.rate.value_or(0.0));
            break;
        case AnalysisKind::DisplacementRate:
            row.setNumber("displacement_rate_nm_per_s", record.rate.value_or(0.0));
            break;
    }
    if (record.holdSeconds) {
        row.setNumber("hold_s", *record.holdSeconds);
    }
    if (record.modulus) {
        addModulusSettings(row, *record.modulus, record.kind == AnalysisKind::Section);
    }
    if (record.hardness) {
        addHardnessSettings(row, *record.hardness);
    }
    row.setText("text", outcome.text.value_or(""));
    const bool isoAnalysis = record.kind == AnalysisKind::Modulus || record.kind == AnalysisKind::Equation ||
                             record.kind == AnalysisKind::Hardness;
    if (iso && isoAnalysis) {
        const PointSpan span = curveSpanOf(set, record.clicked);
        const IsoResults isoResults = isoResultsOfPoints(set, span.first, span.last, *iso);
        for (ResultCell& cell : isoRow(*iso, &isoResults).cells) {
            row.cells.push_back(std::move(cell));
        }
        if (!isoResults.error.empty()) {
            row.setText("iso_error", isoResults.error);
        }
    }
    return row;
}

ResultRow allCurvesResultRow(const BatchRow& batch, const BatchSettings& settings) {
    ResultRow row = batchResultRow(batch, settings);
    row.setText("analysis", "batch");
    addModulusSettings(row, settings.modulus, false);
    if (settings.hardness.formula >= 0 && settings.hardness.formula <= 2) {
        addHardnessSettings(row, settings.hardness);
    }
    return row;
}

}  // namespace mivaro

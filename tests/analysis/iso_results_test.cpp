// The instrument-grade results against synthetic curves whose answers are
// known in closed form, and the document fit against the modulus click.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/analysis_flow.h"
#include "analysis/batch_analysis.h"
#include "analysis/branch_flow.h"
#include "analysis/iso_fit.h"
#include "analysis/iso_indent_row.h"
#include "analysis/iso_results.h"
#include "analysis_fakes.h"
#include "curves/mivaro_doc.h"

namespace mivaro {
namespace {

// Loading P = C h^2 to Fmax in 20 s, a hold at Fmax with linear creep, an
// unloading P = a (h - hf)^m to 10 % of Fmax and a hold there.
struct Synthetic {
    double C = 2e-4;  // mN/nm^2
    double fMax = 50;
    double creepNm = 8;
    double m = 1.4;
    double hf = 300;
    int perSegment = 2000;
    double offsetNm = 0;     // added to every depth
    double driftNmPerS = 0;  // added as rate x time

    double hLoad() const { return std::sqrt(fMax / C); }
    double hMax() const { return hLoad() + creepNm; }
    double a() const { return fMax / std::pow(hMax() - hf, m); }
    double S() const { return m * a() * std::pow(hMax() - hf, m - 1); }
    double hEnd() const { return hf + std::pow(0.1 * fMax / a(), 1 / m); }
    double wTotal() const { return C * std::pow(hLoad(), 3) / 3 + fMax * creepNm; }
    double wElastic() const {
        return a() / (m + 1) * (std::pow(hMax() - hf, m + 1) - std::pow(hEnd() - hf, m + 1));
    }

    std::vector<double> h, P, t;
    std::string seg;

    void add(double depth, double force, double time, char letter) {
        h.push_back(depth + offsetNm + driftNmPerS * time);
        P.push_back(force);
        t.push_back(time);
        seg.push_back(letter);
    }
    IsoIndent make() {
        const int n = perSegment;
        for (int i = 0; i <= n; ++i) {
            const double force = fMax * i / n;
            add(std::sqrt(force / C), force, 20.0 * i / n, LOAD);
        }
        // The hold's first point is where the loading reached Fmax.
        for (int i = 0; i <= n / 4; ++i) {
            add(hLoad() + creepNm * i / (n / 4), fMax, 20 + 10.0 * i / (n / 4), TOP_HOLD);
        }
        for (int i = 1; i <= n; ++i) {
            const double force = fMax * (1 - 0.9 * i / n);
            add(hf + std::pow(force / a(), 1 / m), force, 30 + 10.0 * i / n, UNLOAD);
        }
        for (int i = 1; i <= n / 4; ++i) {
            add(hEnd(), 0.1 * fMax, 40 + 30.0 * i / (n / 4), BOTTOM_HOLD);
        }
        return {h.data(), P.data(), t.data(), seg.data(), static_cast<int>(h.size())};
    }
};

IsoSetup setupFor(IsoFitMethod fit) {
    IsoSetup setup;
    setup.fit = fit;
    setup.windowLoPct = 20;
    setup.windowHiPct = 100;
    setup.epsilon = 0.75;
    setup.area = {24.5, 800, 0, 0, 0, 0};
    return setup;
}

// The expected contact, area, modulus and hardness of a synthetic curve.
struct Expected {
    double hc, Ap, Er, HIT;
};
Expected expected(const Synthetic& s, const IsoSetup& setup) {
    Expected e{};
    e.hc = s.hMax() - setup.epsilon * s.fMax / s.S();
    e.Ap = setup.area[0] * e.hc * e.hc + setup.area[1] * e.hc;
    e.Er = std::sqrt(M_PI) * s.S() / (2 * std::sqrt(e.Ap)) * 1e6;
    e.HIT = s.fMax / e.Ap * 1e9;
    return e;
}

void expectNear(double value, double truth, double relative, const char* what) {
    EXPECT_NEAR(value, truth, std::fabs(truth) * relative) << what;
}

TEST(IsoResults, BothFitsRecoverTheSyntheticCurve) {
    // The document's grid search stops short of the exact power law (about 0.7 % on m
    // here); the least-squares fit lands on it.
    const struct {
        IsoFitMethod fit;
        double tolerance;
    } cases[] = {{IsoFitMethod::Document, 1e-2}, {IsoFitMethod::Lsq, 1e-3}};
    for (const auto& [fit, tolerance] : cases) {
        SCOPED_TRACE(isoFitName(fit));
        Synthetic s;
        const IsoSetup setup = setupFor(fit);
        const IsoResults r = computeIsoResults(s.make(), setup);
        ASSERT_EQ(r.error, "");
        expectNear(r.m, s.m, tolerance, "m");
        expectNear(r.hf_nm, s.hf, tolerance, "hf");
        expectNear(r.S_mN_per_nm, s.S(), tolerance, "S");
        expectNear(r.Wtotal_pJ, s.wTotal(), 5e-3, "Wtotal");
        expectNear(r.Welast_pJ, s.wElastic(), 5e-3, "Welast");
        const Expected e = expected(s, setup);
        expectNear(r.Er_GPa, e.Er, tolerance, "Er");
        expectNear(r.HIT_MPa, e.HIT, tolerance, "HIT");
        expectNear(*r.HMs_MPa, s.C / 26.43 * 1e9, 1e-3, "HMs");
        expectNear(r.HM_MPa, s.fMax / (26.43 * s.hMax() * s.hMax()) * 1e9, tolerance, "HM");
        expectNear(*r.CIT_pct, s.creepNm / s.hLoad() * 100, 1e-6, "CIT");
        expectNear(*r.hold_s, 10, 1e-9, "hold");
        expectNear(r.etaIT_pct, r.Welast_pJ / r.Wtotal_pJ * 100, 1e-12, "etaIT");
        if (fit == IsoFitMethod::Lsq) {
            EXPECT_EQ(r.hmax_nm, s.hMax());
            expectNear(r.r2, 1, 1e-12, "r2");
        }
    }
}

TEST(IsoResults, ZeroPointAndDriftCorrectionsRemoveInjectedErrors) {
    Synthetic clean;
    const IsoResults truth = computeIsoResults(clean.make(), setupFor(IsoFitMethod::Lsq));
    ASSERT_EQ(truth.error, "");
    struct Case {
        double offset, drift;
        bool zeroPoint;
        IsoDrift mode;
    };
    const Case cases[] = {
        {50, 0, true, IsoDrift::Off},
        {0, 0.05, false, IsoDrift::Rate},
        {0, 0.05, false, IsoDrift::Hold},
        {50, 0.05, true, IsoDrift::Hold},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << " nm, " << c.drift << " nm/s");
        Synthetic s;
        s.offsetNm = c.offset;
        s.driftNmPerS = c.drift;
        IsoSetup setup = setupFor(IsoFitMethod::Lsq);
        setup.zeroPoint = c.zeroPoint;
        setup.drift = c.mode;
        setup.driftNmPerS = c.mode == IsoDrift::Rate ? c.drift : 0;
        const IsoResults r = computeIsoResults(s.make(), setup);
        ASSERT_EQ(r.error, "");
        expectNear(r.Er_GPa, truth.Er_GPa, 0.01, "Er");
        expectNear(r.HIT_MPa, truth.HIT_MPa, 0.01, "HIT");
        if (c.mode == IsoDrift::Hold) {
            expectNear(r.driftNmPerS, c.drift, 1e-6, "measured drift");
        }
        // Without the correction the same curve is several times further off.
        const IsoResults raw = computeIsoResults(s.make(), setupFor(IsoFitMethod::Lsq));
        EXPECT_GT(std::fabs(raw.HIT_MPa / truth.HIT_MPa - 1), 5 * std::fabs(r.HIT_MPa / truth.HIT_MPa - 1));
    }
}

TEST(IsoResults, BadCurvesAndMissingPartsSayWhy) {
    Synthetic s;
    IsoIndent indent = s.make();
    std::string loadingOnly(s.seg);
    for (char& c : loadingOnly) {
        if (c == UNLOAD) {
            c = BOTTOM_HOLD;
        }
    }
    IsoIndent noUnload = indent;
    noUnload.segment = loadingOnly.data();
    IsoSetup holdDrift = setupFor(IsoFitMethod::Lsq);
    holdDrift.drift = IsoDrift::Hold;
    IsoIndent noBottomHold = indent;
    noBottomHold.count = static_cast<int>(s.seg.find(BOTTOM_HOLD));
    IsoSetup narrow = setupFor(IsoFitMethod::Lsq);
    narrow.windowLoPct = 99.99;
    narrow.windowHiPct = 99.995;
    IsoSetup softIndenter = setupFor(IsoFitMethod::Lsq);  // Er beyond what the indenter allows
    softIndenter.eiGPa = 1;
    const struct {
        IsoIndent indent;
        IsoSetup setup;
        const char* error;
    } cases[] = {
        {IsoIndent{}, setupFor(IsoFitMethod::Lsq), "too few points"},
        {noUnload, setupFor(IsoFitMethod::Lsq), "No unloading run"},
        {noBottomHold, holdDrift, "No timed hold at minimum force"},
        {indent, narrow, "selects no points"},
        {indent, softIndenter, "EIT is undefined"},
    };
    for (const auto& c : cases) {
        const IsoResults r = computeIsoResults(c.indent, c.setup);
        EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
    }
}

TEST(IsoFit, EpsilonOfExponentAndLsqStopping) {
    EXPECT_NEAR(epsilonOfExponent(1.5), 0.75, 1e-12);
    EXPECT_NEAR(epsilonOfExponent(2), 2 * (1 - 2 / M_PI), 1e-12);
    EXPECT_NEAR(epsilonOfExponent(1.000001), 1, 1e-3);
    EXPECT_TRUE(std::isnan(epsilonOfExponent(1)));
    // Started far off, the fit still lands on the exact power law.
    std::vector<double> h, P;
    for (int i = 0; i < 200; ++i) {
        h.push_back(500 + i);
        P.push_back(0.02 * std::pow(h.back() - 420, 1.7));
    }
    const LsqFit fit = fitPowerLawLsq(h.data(), P.data(), 200, PowerLawFit{0.5, 1.2, 300, 0.9, true});
    ASSERT_TRUE(fit.converged);
    EXPECT_NEAR(fit.m, 1.7, 1e-8);
    EXPECT_NEAR(fit.hf, 420, 1e-6);
    EXPECT_LT(fit.iterations, kLsqMaxIterations);
}

// An instrument file's indent: the values asked for as "file" come from its
// metadata, its printed results stand beside the computed ones.
TEST(IsoResults, RecognisedIndentRowUsesTheFilesMetadata) {
    Synthetic s;
    s.make();
    recognise::RecognisedIndent indent;
    indent.name = "Test 001";
    indent.depthNm = s.h;
    indent.forceMn = s.P;
    indent.timeS = s.t;
    indent.segments = s.seg;
    indent.known.areaCoefficients = std::vector<double>{24.5, 800, 0, 0, 0, 0};
    indent.known.instrumentResults = {{"HIT_MPa", 12000}};
    IsoSetup setup = setupFor(IsoFitMethod::Lsq);
    setup.area = {1, 0, 0, 0, 0, 0};
    ASSERT_EQ(applyIsoOption(setup, "--area", "file"), "");
    const ResultRow row = recognisedIndentRow("x.xls", indent, setup);
    EXPECT_EQ(row.find("error")->text, "");
    EXPECT_EQ(row.find("indent")->text, "Test 001");
    EXPECT_EQ(*row.find("iso_C1")->number, 800);
    expectNear(*row.find("iso_HIT_MPa")->number, expected(s, setupFor(IsoFitMethod::Lsq)).HIT, 1e-3, "HIT");
    EXPECT_EQ(*row.find("instrument_HIT_MPa")->number, 12000);
    EXPECT_FALSE(row.find("instrument_Er_GPa")->number);

    ASSERT_EQ(applyIsoOption(setup, "--frame-compliance", "file"), "");
    const ResultRow missing = recognisedIndentRow("x.xls", indent, setup);
    EXPECT_EQ(missing.find("error")->text, "The file gives no frame compliance (--frame-compliance file).");
    EXPECT_FALSE(missing.find("iso_Er_GPa")->number);
    EXPECT_EQ(csvHeaderLine(missing), csvHeaderLine(row));
}

// A batch's indent of an instrument file: the values asked for as "file" come
// from the indent's metadata (the error names those it lacks), a drift the
// instrument already took out is not taken out again, the printed results
// follow in the instrument_ columns, and every row has the same columns.
TEST(IsoResults, BatchRowsOfRecognisedIndentsTakeTheFilesValues) {
    Synthetic s;
    s.driftNmPerS = 0.05;
    recognise::RecognisedIndent indent;
    s.make();
    indent.depthNm = s.h;
    indent.forceMn = s.P;
    indent.timeS = s.t;
    indent.segments = s.seg;
    recognise::KnownMetadata hld;
    hld.areaCoefficients = std::vector<double>{24.5, 800, 3, 0, 0, 0};
    hld.frameComplianceNmPerMn = 0.25;
    hld.driftNmPerS = 0.05;
    hld.poissonRatio = 0.3;
    recognise::KnownMetadata corrected;  // depths the instrument already corrected
    corrected.driftNmPerS = 0.05;
    corrected.depthDriftCorrected = true;
    corrected.instrumentResults = {{"HIT_MPa", 9000}, {"Er_GPa", 70}};
    const struct {
        const char* what;
        const recognise::KnownMetadata* known;
        std::vector<std::pair<std::string, std::string>> options;
        const char* error;
        double c2, cf, nuS, drift;
        const char* driftSource;
    } cases[] = {
        {"all from the file",
         &hld,
         {{"--area", "file"}, {"--frame-compliance", "file"}, {"--nu-s", "file"}, {"--drift", "file"}},
         "",
         3,
         0.25,
         0.3,
         0.05,
         "file"},
        {"drift only", &hld, {{"--drift", "file"}}, "", 0, 0, 0.17, 0.05, "file"},
        {"already corrected", &corrected, {{"--drift", "file"}}, "", 0, 0, 0.17, 0, "instrument (0.05 nm/s)"},
        {"lacking",
         &corrected,
         {{"--area", "file"}, {"--nu-s", "file"}},
         "The file gives no Poisson's ratio (--nu-s file) and no tip area coefficients (--area file).",
         0,
         0,
         0.17,
         0,
         "off"},
    };
    BatchSettings settings = readBatchSettings(std::string(MIVARO_BINARY_DIR) + "/no_settings_here");
    std::string header;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IsoSetup setup = setupFor(IsoFitMethod::Lsq);
        for (const auto& [option, value] : c.options) {
            ASSERT_EQ(applyIsoOption(setup, option, value), "");
        }
        settings.iso = setup;
        indent.known = *c.known;
        indent.name = c.what;
        const BatchRow row = analyseRecognisedIndent(settings, "x.hld", indent);
        const ResultRow cells = batchResultRow(row, settings, true);
        EXPECT_EQ(row.error, c.error);
        EXPECT_EQ(cells.find("indent")->text, c.what);
        EXPECT_EQ(*cells.find("iso_C2")->number, c.c2);
        EXPECT_EQ(*cells.find("iso_Cf_nm_per_mN")->number, c.cf);
        EXPECT_EQ(*cells.find("iso_nu_s")->number, c.nuS);
        EXPECT_EQ(cells.find("iso_drift_source")->text, c.driftSource);
        const ResultCell* drift = cells.find("iso_drift_nm_per_s");
        EXPECT_EQ(drift->number.value_or(-1), c.drift);
        EXPECT_EQ(cells.find("iso_Er_GPa")->number.has_value(), *c.error == 0);
        EXPECT_EQ(cells.find("instrument_HIT_MPa")->number.value_or(0), c.known == &corrected ? 9000 : 0);
        EXPECT_FALSE(cells.find("instrument_EIT_GPa")->number);
        header = header.empty() ? csvHeaderLine(cells) : header;
        EXPECT_EQ(csvHeaderLine(cells), header);
        if (std::string(c.what) == "drift only") {
            // The injected drift taken out: the curve's own hardness again.
            expectNear(*cells.find("iso_HIT_MPa")->number, expected(s, setup).HIT, 1e-2, "HIT");
        }
    }
    EXPECT_EQ(header, csvHeaderLine(batchResultRow(BatchRow{}, settings, true)));
    EXPECT_EQ(header.substr(header.find(",program_version,")),
              ",program_version,instrument_HIT_MPa,instrument_EIT_GPa,"
              "instrument_Er_GPa,instrument_HM_MPa,instrument_hmax_nm,instrument_hr_nm,instrument_hc_nm,"
              "instrument_S_mN_per_nm,instrument_Fmax_mN,instrument_Wtotal_pJ,instrument_Welast_pJ,"
              "instrument_etaIT_pct,instrument_CIT_pct\n");
}

// The document fit is the modulus click's own: same Er, hc, hf to the last bit.
TEST(IsoResults, DocumentFitEqualsTheModulusClick) {
    const std::filesystem::path examples = std::filesystem::path(MIVARO_SOURCE_DIR) / "examples";
    if (!std::filesystem::exists(examples / "fused_silica_labelled.MVR")) {
        GTEST_SKIP() << "example curves not found";
    }
    ModulusSettings withCompliance;
    withCompliance.Cf = "0.37";
    withCompliance.epsilon = "0.75";
    withCompliance.forceMinPercent = 30;
    for (const ModulusSettings& settings : {ModulusSettings{}, withCompliance}) {
        for (const char* name : {"fused_silica_labelled.MVR", "machine_export.txt"}) {
            SCOPED_TRACE(name);
            test::RecordingMessages messages;
            NoRepaint repaint;
            CMivaro4Doc doc((examples / "").string(), messages, repaint);
            doc.appendPaths({(examples / name).string()});
            doc.rebuildCurveSet();
            CurveSet& set = doc.curveSet();
            ASSERT_GT(set.pointCount(), 0);
            IsoSetup setup = isoSetupFromSettings(settings);
            setup.fit = IsoFitMethod::Document;
            const IsoResults iso = isoResultsOfPoints(set, 0, set.pointCount() - 1, setup);
            ASSERT_EQ(iso.error, "");

            test::RecordingTexts texts;
            test::RecordingGraph graph;
            FlowContext ctx{set, doc.indentCurve(), messages, repaint, texts, GraphTextStyle{}};
            const int unload =
                unloadingAfterPeak(set.segment.data(), set.force.data(), 0, set.pointCount() - 1);
            BranchSelection branch = selectBranch(ctx, unload);
            ASSERT_TRUE(performBranchAction(ctx, branch, settings, kActionModulus, graph).resultsComputed);
            const IndentationResults& click = doc.indentCurve().results;
            EXPECT_EQ(static_cast<float>(iso.Er_GPa), click.Er);
            EXPECT_EQ(iso.Er_GPa, static_cast<double>(click.Er));
            EXPECT_EQ(iso.hc_nm, click.hc);
            EXPECT_EQ(iso.hf_nm, click.hf);
            EXPECT_EQ(iso.S_mN_per_nm, click.S);
        }
    }
}

}  // namespace
}  // namespace mivaro

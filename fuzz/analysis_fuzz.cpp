// libFuzzer target for the analyses: a curve set built from the input (points
// with depths, forces, times and segment letters, either as raw numbers or as
// a disturbed load-hold-unload shape), dialog values from the input, then the
// click flows on a few points (label, rates, modulus, equation, section,
// hardness) and the batch analysis of the first curve, with or without the
// instrument-grade results. Invariants checked:
// the point arrays keep their length, a flow either computes, refuses or
// places a text, and a batch row has its numbers or an error.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "analysis/analysis_dialogs.h"
#include "analysis/batch_analysis.h"
#include "analysis/click_dispatch.h"
#include "analysis/iso_setup.h"
#include "curves/mivaro_doc.h"
#include "fuzz_support.h"
#include "modgraph/xy_graph_wnd.h"

using mivaro::fuzz::check;

namespace {

constexpr int kMaxPoints = 600;  // the section analysis is quadratic in the branch

struct NoTexts final : mivaro::ResultTextSink {
    void beginTextPlacement(const std::string&) override {}
};

// Numbers as a user types them: short texts, often plain numbers, sometimes anything.
std::string typed(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return std::to_string(in.ConsumeIntegralInRange(-5, 200));
        case 1:
            return std::to_string(in.ConsumeFloatingPointInRange(-2.0, 150.0));
        default:
            return in.ConsumeRandomLengthString(12);
    }
}

mivaro::ModulusSettings modulusSettings(FuzzedDataProvider& in) {
    mivaro::ModulusSettings s;
    if (in.ConsumeBool()) {
        return s;  // the defaults: the path most users take
    }
    s.C0 = typed(in);
    s.C1 = typed(in);
    s.Es = typed(in);
    s.Vs = typed(in);
    s.Ei = typed(in);
    s.Vi = typed(in);
    s.solveFor = in.ConsumeIntegralInRange(-1, 4);
    s.forceMinPercent = in.ConsumeFloatingPointInRange(-10.0f, 110.0f);
    s.forceMaxPercent = in.ConsumeFloatingPointInRange(-10.0f, 110.0f);
    s.Cf = typed(in);
    s.epsilon = typed(in);
    s.zeroStartDepth = in.ConsumeIntegralInRange(0, 1);
    s.topPercent = typed(in);
    s.bottomPercent = typed(in);
    s.sectionSizePercent = typed(in);
    return s;
}

mivaro::HardnessSettings hardnessSettings(FuzzedDataProvider& in) {
    mivaro::HardnessSettings s;
    s.formula = in.ConsumeIntegralInRange(-1, 3);
    if (in.ConsumeBool()) {
        s.C0 = typed(in);
        s.C1 = typed(in);
        s.D0 = typed(in);
        s.D1 = typed(in);
        s.Cf = typed(in);
        s.epsilon = typed(in);
        s.includeHoldTime = in.ConsumeIntegralInRange(0, 1);
    }
    return s;
}

// Each dialog answers its first opening with the input's values and action
// and is cancelled afterwards, so every flow ends.
struct FuzzDialogs final : mivaro::LoadingCurveDialogPort,
                           mivaro::HardnessDialogPort,
                           mivaro::ModulusDialogPort {
    int action = 0;
    std::string label;
    mivaro::ModulusSettings modulus;
    mivaro::HardnessSettings hardness;
    int asked = 0;

    std::optional<mivaro::Acted<mivaro::LoadingCurveValues>> askLoadingCurve(
        const mivaro::LoadingCurveValues&) override {
        if (asked++ > 0) {
            return std::nullopt;
        }
        return mivaro::Acted<mivaro::LoadingCurveValues>{{label}, action % 3};
    }
    std::optional<mivaro::HardnessSettings> askHardness(const mivaro::HardnessSettings&) override {
        if (asked++ > 0) {
            return std::nullopt;
        }
        return hardness;
    }
    std::optional<mivaro::Acted<mivaro::ModulusDialogValues>> askModulus(
        const mivaro::ModulusDialogValues& values) override {
        if (asked++ > 0) {
            return std::nullopt;
        }
        mivaro::ModulusDialogValues answer = values;
        answer.settings = modulus;
        return mivaro::Acted<mivaro::ModulusDialogValues>{answer, 1 + action % 5};
    }
};

char letter(FuzzedDataProvider& in) {
    static const char kLetters[] = {'L', 'T', 'U', 'B', 'R', 'X'};
    return in.ConsumeIntegralInRange(0, 15) == 0 ? static_cast<char>(in.ConsumeIntegral<std::uint8_t>())
                                                 : kLetters[in.ConsumeIntegralInRange(0, 5)];
}

// Points of one curve appended to the set and to the working curve.
void addCurve(FuzzedDataProvider& in, mivaro::CMivaro4Doc& doc, int curveIndex) {
    mivaro::CurveSet& set = doc.curveSet();
    mivaro::IndentCurve& curve = doc.indentCurve();  // holds the curve read last, as after a rebuild
    curve.depth.clear();
    curve.force.clear();
    curve.time.clear();
    curve.segment.clear();
    const int n = in.ConsumeIntegralInRange(0, kMaxPoints);
    const bool shaped = in.ConsumeBool();
    const double peak = in.ConsumeFloatingPointInRange(0.001, 1000.0);
    for (int i = 0; i < n && in.remaining_bytes() > 0; ++i) {
        double depth = 0;
        double force = 0;
        double time = i * 0.1;
        char segment = 'X';
        if (shaped) {
            // Load, hold, unload, bottom hold, reload: a curve the analyses accept, disturbed a little.
            const double phase = static_cast<double>(i) / n;
            const double noise = in.ConsumeIntegralInRange(-100, 100) * 1e-4;
            segment = phase < 0.4 ? 'L' : phase < 0.5 ? 'T' : phase < 0.8 ? 'U' : phase < 0.9 ? 'B' : 'R';
            force = segment == 'L'   ? peak * phase / 0.4
                    : segment == 'T' ? peak
                    : segment == 'U' ? peak * (0.8 - phase) / 0.3
                                     : peak * 0.1;
            depth = 100 * (1 + force / peak) * (1 + noise);
            force *= 1 + noise;
            if (in.ConsumeIntegralInRange(0, 31) == 0) {
                segment = letter(in);
            }
        } else {
            depth = in.ConsumeFloatingPoint<double>();
            force = in.ConsumeFloatingPoint<double>();
            time = in.ConsumeFloatingPoint<double>();
            segment = letter(in);
        }
        set.depth.push_back(static_cast<float>(depth));
        set.force.push_back(static_cast<float>(force));
        set.time.push_back(static_cast<float>(time));
        set.segment.push_back(segment);
        set.curveIndex.push_back(curveIndex);
        set.colour.push_back(0);
        curve.depth.push_back(depth);
        curve.force.push_back(force);
        curve.time.push_back(time);
        curve.segment.push_back(segment);
    }
    mivaro::CurveInfo info;
    info.path = "curve" + std::to_string(curveIndex) + ".MVR";
    set.curves.push_back(info);
    curve.names.push_back(info.path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    mivaro::fuzz::NoMessages messages;
    mivaro::NoRepaint repaint;
    // A folder that does not exist: the flows find no settings files and write none.
    mivaro::CMivaro4Doc doc("/nonexistent-mivaro-fuzz/", messages, repaint);
    const int curves = in.ConsumeIntegralInRange(1, 2);
    for (int c = 0; c < curves; ++c) {
        addCurve(in, doc, c);
    }
    doc.indentCurve().forceInstability = in.ConsumeFloatingPointInRange(0.0f, 5.0f);
    mivaro::CurveSet& set = doc.curveSet();
    const int n = set.pointCount();

    mivaro::BatchSettings batch;
    batch.settingsDirectory = doc.indentCurve().settingsDirectory;
    batch.modulus = modulusSettings(in);
    batch.hardness = hardnessSettings(in);
    if (in.ConsumeBool()) {
        // The instrument-grade results of the batch, over the range of setups a command line can give.
        mivaro::IsoSetup iso;
        iso.fit = in.ConsumeBool() ? mivaro::IsoFitMethod::Lsq : mivaro::IsoFitMethod::Document;
        iso.windowLoPct = in.ConsumeFloatingPointInRange(-10.0, 110.0);
        iso.windowHiPct = in.ConsumeFloatingPointInRange(-10.0, 110.0);
        iso.epsilonFromExponent = in.ConsumeBool();
        iso.epsilon = in.ConsumeFloatingPointInRange(0.0, 2.0);
        iso.beta = in.ConsumeFloatingPointInRange(0.5, 1.5);
        iso.area[1] = in.ConsumeFloatingPointInRange(-100.0, 1000.0);
        iso.frameComplianceNmPerMn = in.ConsumeFloatingPointInRange(-1.0, 10.0);
        iso.zeroPoint = in.ConsumeBool();
        iso.drift = static_cast<mivaro::IsoDrift>(in.ConsumeIntegralInRange(0, 2));
        iso.driftNmPerS = in.ConsumeFloatingPointInRange(-1.0, 1.0);
        batch.iso = iso;
    }

    NoTexts texts;
    mivaro::CXYGraphWnd graph;
    for (int click = 0; click < 3 && n > 0 && in.remaining_bytes() > 0; ++click) {
        FuzzDialogs dialogs;
        dialogs.action = in.ConsumeIntegralInRange(0, 14);
        dialogs.label = in.ConsumeRandomLengthString(20);
        dialogs.modulus = in.ConsumeBool() ? batch.modulus : modulusSettings(in);
        dialogs.hardness = in.ConsumeBool() ? batch.hardness : hardnessSettings(in);
        mivaro::FlowContext ctx{set, doc.indentCurve(), messages, repaint, texts, mivaro::GraphTextStyle{}};
        ctx.saveSettings = false;
        const int point = in.ConsumeIntegralInRange(0, n - 1);
        const mivaro::FlowOutcome outcome =
            mivaro::runClickFlow(ctx, point, {&dialogs, &dialogs, &dialogs, &graph});
        check(set.pointCount() == n && static_cast<int>(set.colour.size()) == n);
        check(outcome.seriesX.size() == outcome.seriesY.size());
    }

    // The batch works on a document holding one curve, as read from its file.
    mivaro::CMivaro4Doc single("/nonexistent-mivaro-fuzz/", messages, repaint);
    const int firstEnd = set.endPointOf(0);
    const auto take = [firstEnd](const auto& from, auto& to) {
        to.assign(from.begin(), from.begin() + firstEnd);
    };
    take(set.depth, single.curveSet().depth);
    take(set.force, single.curveSet().force);
    take(set.time, single.curveSet().time);
    take(set.segment, single.curveSet().segment);
    take(set.curveIndex, single.curveSet().curveIndex);
    take(set.colour, single.curveSet().colour);
    single.curveSet().curves.push_back(set.curves.front());
    single.indentCurve().names = {set.curves.front().path};
    mivaro::BatchRow row;
    row.file = set.curves.front().path;
    mivaro::analyseBatchCurve(batch, single, row);
    check(row.modulusComputed || !row.error.empty());
    const std::string line = mivaro::batchCsvRow(row, batch.modulus.solveFor);
    check(!line.empty() && line.back() == '\n');
    return 0;
}

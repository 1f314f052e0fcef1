#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_flow.h"
#include "curves/curve_set.h"
#include "curves/indent_curve.h"

namespace mivaro::test {

struct RecordingMessages : MessagePort {
    std::vector<std::string> texts;
    std::vector<std::string> captions;
    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageButtons) override {
        texts.push_back(text);
        captions.push_back(caption);
        return MessageAnswer::Ok;
    }
};

struct CountingRepaint : RepaintPort {
    int requests = 0;
    void requestRepaint(bool) override { ++requests; }
};

struct RecordingTexts : ResultTextSink {
    std::vector<std::string> lines;
    void beginTextPlacement(const std::string& text) override { lines.push_back(text); }
};

struct RecordingGraph : ModulusGraphSink {
    int count = 0;
    std::vector<Rgb> colours;
    std::vector<int> styles, sizes;
    int bold = -1, fontHeight = -1, shows = 0;
    std::vector<std::vector<double>> xs, ys;
    int seriesCount() const override { return count; }
    void setNextSeriesStyle(Rgb colour, int style, int size) override {
        colours.push_back(colour);
        styles.push_back(style);
        sizes.push_back(size);
    }
    void setBoldText(int b) override { bold = b; }
    void setFontHeight(int h) override { fontHeight = h; }
    void AddSeries(const double* x, const double* y, int n) override {
        if (count < 10) {
            xs.emplace_back(x, x + n);
            ys.emplace_back(y, y + n);
            ++count;
        }
    }
    void redrawAndShow() override { ++shows; }
};

// Answers the modulus dialog with scripted values and remembers what it was shown.
struct ScriptedModulusDialog : ModulusDialogPort {
    int action = kActionModulus;  // kActionCancelled: "Cancel"
    bool keepOpened = true;       // accept the values the dialog opened with
    ModulusSettings answer;
    std::string shownTitle, shownBranch;
    ModulusSettings shownSettings;
    bool shownGraphAvailable = false;
    std::vector<Rgb> coloursWhileOpen;
    const CurveSet* set = nullptr;
    std::optional<Acted<ModulusDialogValues>> askModulus(const ModulusDialogValues& values) override {
        shownTitle = values.fileTitle;
        shownBranch = values.branchName;
        shownSettings = values.settings;
        shownGraphAvailable = values.sectionGraphAvailable;
        if (set != nullptr) {
            coloursWhileOpen = set->colour;
        }
        if (action == kActionCancelled) {
            return std::nullopt;
        }
        ModulusDialogValues edited = values;
        if (!keepOpened) {
            edited.settings = answer;
        }
        return Acted<ModulusDialogValues>{edited, action};
    }
};

struct ScriptedHardnessDialog : HardnessDialogPort {
    bool accept = true;
    HardnessSettings answer;
    HardnessSettings shown;
    std::optional<HardnessSettings> askHardness(const HardnessSettings& settings) override {
        shown = settings;
        return accept ? std::optional<HardnessSettings>(answer) : std::nullopt;
    }
};

struct ScriptedLoadingDialog : LoadingCurveDialogPort {
    struct Answer {
        std::string labelText;
        int action = kLoadingNone;  // kLoadingNone: "Cancel"
    } answer;
    std::string shown;
    bool editLabel = false;
    std::optional<Acted<LoadingCurveValues>> askLoadingCurve(const LoadingCurveValues& values) override {
        shown = values.labelText;
        if (answer.action == kLoadingNone) {
            return std::nullopt;
        }
        return Acted<LoadingCurveValues>{{editLabel ? answer.labelText : values.labelText}, answer.action};
    }
};

// Appends one curve's points to a CurveSet built by hand.
inline void appendCurve(CurveSet& set, const std::string& path, const std::vector<char>& segment,
                        const std::vector<float>& depth, const std::vector<float>& force,
                        const std::vector<float>& time, Rgb curveColour = 0) {
    const int index = set.curveCount();
    CurveInfo info;
    info.path = path;
    info.colour = curveColour;
    info.style = 2;
    info.size = 3;
    set.curves.push_back(info);
    for (std::size_t i = 0; i < depth.size(); ++i) {
        set.segment.push_back(segment[i]);
        set.depth.push_back(depth[i]);
        set.force.push_back(force[i]);
        set.time.push_back(time[i]);
        set.curveIndex.push_back(index);
        set.colour.push_back(curveColour);
    }
}

// Everything a flow needs, with recording fakes.
struct FlowFixture {
    CurveSet set;
    IndentCurve curve;
    RecordingMessages messages;
    CountingRepaint repaint;
    RecordingTexts texts;
    RecordingGraph graph;
    FlowContext ctx{set, curve, messages, repaint, texts, GraphTextStyle{}};
};

}  // namespace mivaro::test

namespace mivaro::test {

// One load-hold-unload-hold-reload test: 5 loading points up to 10 mN, a
// 3-point hold, an unloading P = 10 ((h - 200) / 225)^1.5 of unloadCount points
// from 425 nm, 2 bottom-hold points and a 6-point reload. Times 1 s apart.
struct IndentationShape {
    int unloadCount = 12;
    double unloadTo = 235;  // depth of the last unloading point
};

inline void appendIndentation(CurveSet& set, const std::string& path, Rgb colour,
                              const IndentationShape& shape = {}) {
    std::vector<char> seg;
    std::vector<float> h, f, t;
    auto add = [&](char s, double depth, double force) {
        seg.push_back(s);
        h.push_back(static_cast<float>(depth));
        f.push_back(static_cast<float>(force));
        t.push_back(static_cast<float>(t.size()));
    };
    for (int i = 0; i < 5; ++i) {
        add('L', 80.0 * i, 2.0 * i);
    }
    add('T', 410, 10.0);
    add('T', 420, 9.98);
    add('T', 425, 9.95);
    for (int i = 0; i < shape.unloadCount; ++i) {
        const double depth = 425 - (425 - shape.unloadTo) * (i + 1) / shape.unloadCount;
        add('U', depth, 10.0 * std::pow((depth - 200) / 225, 1.5));
    }
    const double bottomDepth = h.back();
    add('B', bottomDepth - 1, 0.1);
    add('B', bottomDepth - 1.5, 0.12);
    for (int i = 1; i <= 6; ++i) {
        const double depth = bottomDepth - 1.5 + 30.0 * i;
        add('R', depth, 8.0 * std::pow((depth - 220) / 200, 1.5));
    }
    appendCurve(set, path, seg, h, f, t, colour);
}

}  // namespace mivaro::test

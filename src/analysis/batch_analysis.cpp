#include "analysis/batch_analysis.h"

#include <cmath>
#include <vector>

#include "analysis/branch_flow.h"
#include "analysis/hardness_flow.h"
#include "curves/curve_reader.h"
#include "curves/mivaro_doc.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Keeps what the reader and the flows would have shown in message boxes.
class CapturedMessages final : public MessagePort {
  public:
    MessageAnswer showMessage(const std::string& text, const std::string&, MessageButtons buttons) override {
        m_texts.push_back(text);
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    // The last message shown, on one line.
    std::string last() const {
        std::string text = m_texts.empty() ? std::string() : m_texts.back();
        for (char& c : text) {
            if (c == '\n' || c == '\r') {
                c = ' ';
            }
        }
        return text;
    }
    bool firstIsColumnError() const {
        if (m_texts.empty()) {
            return false;
        }
        const std::string& text = m_texts.front();
        return text == kDisplacementColumnError || text == kForceColumnError || text == kTimeColumnError ||
               text == kSegmentColumnError;
    }

  private:
    std::vector<std::string> m_texts;
};

struct NoTexts final : ResultTextSink {
    void beginTextPlacement(const std::string&) override {}
};

bool hardnessChosen(const HardnessSettings& settings) {
    return settings.formula >= 0 && settings.formula <= 2;
}

double solvedValue(const IndentationResults& r, int solveFor) {
    switch (solveFor) {
        case 1:
            return r.Vs;
        case 2:
            return r.Ei;
        case 3:
            return r.Vi;
        default:
            return r.Es;
    }
}

void appendNumber(std::string& line, bool present, double value) {
    line += ',';
    if (present) {
        line += formatC("%.9g", value);
    }
}

}  // namespace

BatchSettings readBatchSettings(const std::string& settingsDirectory, int solveFor) {
    BatchSettings settings;
    settings.settingsDirectory = settingsDirectory;
    if (!settings.settingsDirectory.empty() && settings.settingsDirectory.back() != '/') {
        settings.settingsDirectory += '/';
    }
    settings.modulus = readModulusSettings(settings.settingsDirectory);
    settings.hardness = readHardnessSettings(settings.settingsDirectory);
    if (solveFor >= 0 && solveFor <= 3) {
        settings.modulus.solveFor = solveFor;
    }
    return settings;
}

int unloadingAfterPeak(const char* segment, const float* force, int first, int last) {
    int peak = -1;
    for (int i = first; i <= last; ++i) {
        if (peak < 0 ? !std::isnan(force[i]) : force[i] > force[peak]) {
            peak = i;
        }
    }
    for (int i = peak < 0 ? first : peak; i <= last; ++i) {
        if (segment[i] == UNLOAD) {
            return i;
        }
    }
    return -1;
}

BatchRow analyseBatchFile(const BatchSettings& settings, const std::string& path) {
    BatchRow row;
    row.file = path;
    CapturedMessages messages;
    NoRepaint repaint;
    CMivaro4Doc doc(settings.settingsDirectory, messages, repaint);
    doc.appendPaths({path});
    doc.rebuildCurveSet();
    if (doc.indentCurve().currentFilePath != path || path.empty()) {
        const auto& unreadable = doc.unreadableFiles();
        row.error = messages.firstIsColumnError() ? messages.last()
                    : unreadable.empty()          ? "The file could not be read."
                                         : "The file could not be read: " + unreadable.front().reason + ".";
        return row;
    }
    analyseBatchCurve(settings, doc, row);
    return row;
}

void analyseBatchCurve(const BatchSettings& settings, CMivaro4Doc& doc, BatchRow& row) {
    CapturedMessages messages;
    NoRepaint repaint;
    CurveSet& set = doc.curveSet();
    const int count = set.pointCount();
    if (count == 0) {
        row.error = "The file holds no points.";
        return;
    }
    const int unload = unloadingAfterPeak(set.segment.data(), set.force.data(), 0, count - 1);
    if (unload < 0) {
        row.error = "No unloading run follows the highest force.";
        return;
    }

    NoTexts texts;
    NoModulusGraph graph;  // the modulus action draws no series
    FlowContext ctx{set, doc.indentCurve(), messages, repaint, texts, GraphTextStyle{}};
    BranchSelection branch = selectBranch(ctx, unload);
    const FlowOutcome modulus = performBranchAction(ctx, branch, settings.modulus, kActionModulus, graph);
    if (!modulus.resultsComputed) {
        row.error = messages.last().empty() ? "The modulus could not be calculated." : messages.last();
        return;
    }
    row.modulusComputed = true;
    row.points = count;
    row.pMaxMn = branch.pMaxMn;
    row.hMaxNm = branch.hMaxNm;
    row.modulus = doc.indentCurve().results;

    const int beforeRun = branch.runFirst - 1;
    if (beforeRun < 0 || set.segment[at(beforeRun)] != TOP_HOLD) {
        if (hardnessChosen(settings.hardness)) {
            row.error =
                "No top hold comes just before the unloading run, so the hardness cannot be calculated.";
        }
        return;
    }
    const HoldSelection hold = selectHold(ctx, beforeRun);
    row.holdFound = true;
    // Measured as the hardness result line measures it: from the point before the hold to the first after it.
    const int start = hold.before >= 0 ? hold.before : hold.holdFirst;
    row.holdSeconds = set.time[at(hold.after)] - set.time[at(start)];
    if (hardnessChosen(settings.hardness)) {
        const FlowOutcome hardness = performHardness(ctx, hold, settings.hardness);
        if (hardness.resultsComputed) {
            row.hardnessComputed = true;
            row.hardness = doc.indentCurve().results;
        } else {
            row.error = messages.last().empty() ? "The hardness could not be calculated." : messages.last();
        }
    }
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string batchCsvHeader(int solveFor) {
    static const char* const kSolved[] = {"Es_GPa", "Vs", "Ei_GPa", "Vi"};
    const char* solved = solveFor >= 0 && solveFor <= 3 ? kSolved[solveFor] : kSolved[0];
    return std::string("file,points,Pmax_mN,hmax_nm,hf_nm,m,a,r2,S_mN_per_nm,hc_nm,Er_GPa,") + solved +
           ",HM_N_per_mm2,HV,HRA,hold_s,error\n";
}

std::string batchCsvRow(const BatchRow& row, int solveFor) {
    std::string line = csvField(row.file);
    const IndentationResults& m = row.modulus;
    const bool read = row.modulusComputed;
    appendNumber(line, read, row.points);
    appendNumber(line, read, row.pMaxMn);
    appendNumber(line, read, row.hMaxNm);
    appendNumber(line, read, m.hf);
    appendNumber(line, read, m.m);
    appendNumber(line, read, m.a);
    appendNumber(line, read, m.r2);
    appendNumber(line, read, m.S);
    appendNumber(line, read, m.hc);
    appendNumber(line, read, m.Er);
    appendNumber(line, read, solvedValue(m, solveFor));
    const IndentationResults& h = row.hardness;
    appendNumber(line, row.hardnessComputed, h.HM);
    appendNumber(line, row.hardnessComputed, h.HV);
    appendNumber(line, row.hardnessComputed, h.HRA);
    appendNumber(line, read && row.holdFound, row.holdSeconds);
    line += ',';
    line += csvField(row.error);
    line += '\n';
    return line;
}

}  // namespace mivaro

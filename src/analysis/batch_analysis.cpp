#include "analysis/batch_analysis.h"

#include <cmath>
#include <vector>

#include "analysis/branch_flow.h"
#include "analysis/hardness_flow.h"
#include "analysis/iso_indent_row.h"
#include "curves/curve_reader.h"
#include "curves/mivaro_doc.h"
#include "curves/recognise/recognised_conversion.h"
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
        // The reader puts the file and the line under the error's text.
        const std::string& text = m_texts.front();
        const auto startsWith = [&text](const char* lead) { return text.rfind(lead, 0) == 0; };
        return startsWith(kDisplacementColumnError) || startsWith(kForceColumnError) ||
               startsWith(kTimeColumnError) || startsWith(kSegmentColumnError);
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

void setNumber(ResultRow& row, const char* column, bool present, double value) {
    if (present) {
        row.setNumber(column, value);
    } else {
        row.setEmpty(column);
    }
}

// The columns the table had before the instrument-grade results, in their order.
ResultRow todaysRow(const BatchRow& row, int solveFor, bool withIndent) {
    static const char* const kSolved[] = {"Es_GPa", "Vs", "Ei_GPa", "Vi"};
    const char* solved = solveFor >= 0 && solveFor <= 3 ? kSolved[solveFor] : kSolved[0];
    ResultRow cells;
    cells.setText("file", row.file);
    if (withIndent) {
        cells.setText("indent", row.indent);
    }
    const IndentationResults& m = row.modulus;
    const bool read = row.modulusComputed;
    setNumber(cells, "points", read, row.points);
    setNumber(cells, "Pmax_mN", read, row.pMaxMn);
    setNumber(cells, "hmax_nm", read, row.hMaxNm);
    setNumber(cells, "hf_nm", read, m.hf);
    setNumber(cells, "m", read, m.m);
    setNumber(cells, "a", read, m.a);
    setNumber(cells, "r2", read, m.r2);
    setNumber(cells, "S_mN_per_nm", read, m.S);
    setNumber(cells, "hc_nm", read, m.hc);
    setNumber(cells, "Er_GPa", read, m.Er);
    setNumber(cells, solved, read, solvedValue(m, solveFor));
    const IndentationResults& h = row.hardness;
    setNumber(cells, "HM_N_per_mm2", row.hardnessComputed, h.HM);
    setNumber(cells, "HV", row.hardnessComputed, h.HV);
    setNumber(cells, "HRA", row.hardnessComputed, h.HRA);
    setNumber(cells, "hold_s", read && row.holdFound, row.holdSeconds);
    cells.setText("error", row.error);
    return cells;
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

namespace {

// The modulus click on the unloading run after the highest force and, when a
// hardness formula is chosen, the hardness click on the top hold before it.
void runClicks(BatchRow& row, const BatchSettings& settings, CMivaro4Doc& doc, CapturedMessages& messages,
               NoRepaint& repaint) {
    CurveSet& set = doc.curveSet();
    const int count = set.pointCount();
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

// The click's fit serves as the document fit when both fitted the same points
// the same way: same force range, same frame compliance, no depth correction.
bool clickFitServes(const BatchRow& row, const BatchSettings& settings, const IsoSetup& iso) {
    const IndentationInputs click = modulusInputs(settings.modulus, BranchSelection{});
    const auto cf = static_cast<float>(iso.frameComplianceNmPerMn);
    return row.modulusComputed && std::isfinite(row.modulus.a) && std::isfinite(row.modulus.m) &&
           !iso.zeroPoint &&
           (iso.drift == IsoDrift::Off || (iso.drift != IsoDrift::Hold && iso.driftNmPerS == 0)) &&
           iso.windowLoPct == settings.modulus.forceMinPercent &&
           iso.windowHiPct == settings.modulus.forceMaxPercent && cf == click.complianceNmPerMn &&
           static_cast<double>(cf) == iso.frameComplianceNmPerMn;
}

// known: the file's metadata when the batch recognises instrument files.
void addIsoResults(BatchRow& row, const BatchSettings& settings, const CurveSet& set,
                   const recognise::KnownMetadata* known) {
    row.isoSetup = *settings.iso;
    const std::string missing = known != nullptr ? resolveFromFile(row.isoSetup, *known) : std::string();
    if (!missing.empty()) {
        row.iso.emplace().error = missing;
    } else {
        std::optional<PowerLawFit> clickFit;
        if (clickFitServes(row, settings, row.isoSetup)) {
            const IndentationResults& m = row.modulus;
            clickFit = PowerLawFit{m.a, m.m, m.hf, m.r2, true};
        }
        row.iso =
            isoResultsOfPoints(set, 0, set.pointCount() - 1, row.isoSetup, clickFit ? &*clickFit : nullptr);
    }
    if (!row.iso->error.empty() && row.error.find(row.iso->error) == std::string::npos) {
        row.error += (row.error.empty() ? "" : " ") + row.iso->error;
    }
}

// The analyses of the one curve the document holds.
void analyseLoadedCurve(const BatchSettings& settings, CMivaro4Doc& doc, CapturedMessages& messages,
                        NoRepaint& repaint, BatchRow& row, const recognise::KnownMetadata* known) {
    if (known != nullptr) {
        row.known = *known;
    }
    if (settings.iso) {
        row.isoSetup = *settings.iso;
    }
    if (doc.curveSet().pointCount() == 0) {
        row.error = "The file holds no points.";
        return;
    }
    runClicks(row, settings, doc, messages, repaint);
    if (settings.iso) {
        addIsoResults(row, settings, doc.curveSet(), known);
    }
}

}  // namespace

BatchRow analyseBatchFile(const BatchSettings& settings, const std::string& path,
                          const recognise::KnownMetadata* known) {
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
    analyseLoadedCurve(settings, doc, messages, repaint, row, known);
    return row;
}

void analyseBatchCurve(const BatchSettings& settings, CMivaro4Doc& doc, BatchRow& row) {
    CapturedMessages messages;
    NoRepaint repaint;
    analyseLoadedCurve(settings, doc, messages, repaint, row, nullptr);
}

BatchRow analyseBatchCurveBytes(const BatchSettings& settings, const std::string& file,
                                std::string_view standardCurve, const recognise::KnownMetadata* known) {
    BatchRow row;
    row.file = file;
    CapturedMessages messages;
    NoRepaint repaint;
    CMivaro4Doc doc(settings.settingsDirectory, messages, repaint);
    doc.loadStandardCurveBytes(file, standardCurve);
    analyseLoadedCurve(settings, doc, messages, repaint, row, known);
    return row;
}

BatchRow analyseRecognisedIndent(const BatchSettings& settings, const std::string& file,
                                 const recognise::RecognisedIndent& indent) {
    BatchRow row =
        analyseBatchCurveBytes(settings, file, recognise::standardCurveBytes(indent), &indent.known);
    row.indent = indent.name;
    return row;
}

ResultRow batchResultRow(const BatchRow& row, const BatchSettings& settings, bool withIndent) {
    ResultRow cells = todaysRow(row, settings.modulus.solveFor, withIndent);
    if (settings.iso) {
        const IsoResults* iso = row.iso ? &*row.iso : nullptr;
        appendIsoCells(cells, iso);
        appendIsoProvenance(cells, row.iso ? row.isoSetup : *settings.iso, iso);
        if (withIndent) {
            appendInstrumentCells(cells, &row.known);
        }
    }
    return cells;
}

std::string batchCsvHeader(int solveFor, bool withIndent) {
    return csvHeaderLine(todaysRow(BatchRow{}, solveFor, withIndent));
}

std::string batchCsvRow(const BatchRow& row, int solveFor, bool withIndent) {
    return csvRowLine(todaysRow(row, solveFor, withIndent));
}

}  // namespace mivaro

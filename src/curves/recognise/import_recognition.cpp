#include "curves/recognise/import_recognition.h"

#include "curves/recognise/recogniser.h"

namespace mivaro::recognise {
namespace {

int depthUnitOf(const std::string& unit) {
    if (unit == "nm") {
        return 0;
    }
    if (unit == "\xC2\xB5m" || unit == "\xB5m" || unit == "um") {
        return 1;
    }
    if (unit == "mm") {
        return 2;
    }
    return unit == "cm" ? 3 : -1;
}

int forceUnitOf(const std::string& unit) {
    if (unit == "\xC2\xB5N" || unit == "\xB5N" || unit == "uN") {
        return 0;
    }
    if (unit == "mN") {
        return 1;
    }
    return unit == "N" ? 2 : -1;
}

}  // namespace

void recogniseForImport(ImportDialogState& state, const std::string& path) {
    const RecogniseSummary summary = sniffFile(path);
    state.useRecogniser = false;
    state.recognisable = summary.recognised;
    state.recognisedDepthUnit = depthUnitOf(summary.depthUnit);
    state.recognisedForceUnit = forceUnitOf(summary.forceUnit);
    state.recognition = describeForDialog(summary);
}

void applyRecognition(ImportDialogState& state) {
    if (!state.recognisable) {
        return;
    }
    state.useRecogniser = true;
    if (state.recognisedDepthUnit >= 0) {
        state.setup.depthUnit = state.recognisedDepthUnit;
    }
    if (state.recognisedForceUnit >= 0) {
        state.setup.forceUnit = state.recognisedForceUnit;
    }
}

void leaveRecognition(ImportDialogState& state) {
    state.useRecogniser = false;
}

std::string recognitionLine(const ImportDialogState& state) {
    if (!state.useRecogniser) {
        return state.recognition;
    }
    std::string line = state.recognition;
    // The invitation has been taken up: say what OK does instead.
    if (const std::size_t press = line.find(" Press Recognise"); press != std::string::npos) {
        line.erase(press);
    }
    return line + " OK writes one standard curve file per indent beside the file and loads them.";
}

}  // namespace mivaro::recognise

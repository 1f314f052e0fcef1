#include "curves/recognise/import_recognition.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>

#include "curves/recognise/recogniser.h"
#include "platform/c_format.h"

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

// How many points of the first indent a zip or workbook shows in the dialog.
constexpr std::size_t kListedPoints = 40;

// The first indent of a container, read alone (the reading stops after it).
ImportPreview listContainer(const RecogniseSummary& sniffed, const std::string& path) {
    std::optional<RecognisedIndent> first;
    const RecogniseSummary read = recogniseFile(path, [&](RecognisedIndent& indent) {
        first = std::move(indent);
        return false;
    });
    if (first) {
        return listRecognisedIndent(sniffed, *first, kListedPoints);
    }
    ImportPreview listing;
    listing.text = sniffed.format + ": no indent could be read.\r\n" +
                   (read.error.empty() ? sniffed.error : read.error) + "\r\n";
    return listing;
}

}  // namespace

ImportPreview listRecognisedIndent(const RecogniseSummary& summary, const RecognisedIndent& first,
                                   std::size_t points) {
    ImportPreview listing;
    std::string& text = listing.text;
    const std::size_t count = first.depthNm.size();
    const std::size_t shown = std::min(points, count);
    const int indents = std::max(summary.indents, 1);
    text = summary.format + formatC(": %d indent%s, ", indents, indents == 1 ? "" : "s") +
           "not a text file: the columns are what Recognise reads.\r\n\r\n";
    text += formatC("Indent 1 of %d", indents);
    if (!first.name.empty()) {
        text += ": " + first.name;
    }
    if (first.xUm && first.yUm) {
        text += formatC(" at x %g, y %g \u00B5m", *first.xUm, *first.yUm);
    }
    text += formatC(", %zu points, segments from the %s", count, segmentSourceName(first.segmentsFrom));
    text += shown < count ? formatC("; the first %zu:\r\n", shown) : std::string(":\r\n");
    text += "  depth (nm)  force (mN)    time (s)  segment\r\n";
    for (std::size_t i = 0; i < shown; ++i) {
        const double time = i < first.timeS.size() ? first.timeS[i] : 0.0;
        const char letter = i < first.segments.size() ? first.segments[i] : ' ';
        text += formatC("%12.4f%12.4f%12.4f  %c\r\n", first.depthNm[i], first.forceMn[i], time, letter);
        listing.displacement += formatC("%.4f\r\n", first.depthNm[i]);
        listing.force += formatC("%.4f\r\n", first.forceMn[i]);
        listing.time += formatC("%.4f\r\n", time);
        listing.segment += formatC("%c\r\n", letter);
    }
    // The column texts end without a line end, as the setup's preview columns do.
    for (std::string* column : {&listing.displacement, &listing.force, &listing.time, &listing.segment}) {
        if (!column->empty()) {
            column->resize(column->size() - 2);
        }
    }
    if (shown < count) {
        text += formatC("... and %zu more point%s", count - shown, count - shown == 1 ? "" : "s");
        text += indents > 1 ? formatC(", then %d more indent%s.\r\n", indents - 1, indents == 2 ? "" : "s")
                            : std::string(".\r\n");
    } else if (indents > 1) {
        text += formatC("... then %d more indent%s.\r\n", indents - 1, indents == 2 ? "" : "s");
    }
    return listing;
}

void recogniseForImport(ImportDialogState& state, const std::string& path) {
    const RecogniseSummary summary = sniffFile(path);
    state.useRecogniser = false;
    state.recognisable = summary.recognised;
    state.recognisedDepthUnit = depthUnitOf(summary.depthUnit);
    state.recognisedForceUnit = forceUnitOf(summary.forceUnit);
    state.recognition = describeForDialog(summary);
    state.listing = {};
    if (summary.recognised && summary.binary) {
        try {
            state.listing = listContainer(summary, path);
        } catch (...) {
            // The listing is a courtesy; the line above already says what is wrong.
            state.listing.text = summary.format + ": the file could not be listed.\r\n";
        }
    }
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

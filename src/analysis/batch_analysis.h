#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "analysis/analysis_settings.h"
#include "analysis/iso_results.h"
#include "analysis/result_row.h"
#include "curves/curve_types.h"
#include "curves/recognise/recognised_file.h"

namespace mivaro {

class CMivaro4Doc;

// What a batch applies to every file: the settings directory and the dialog
// values its files give, read once.
struct BatchSettings {
    std::string settingsDirectory;  // ends with '/'
    ModulusSettings modulus;
    HardnessSettings hardness;
    // With the instrument-grade results: their setup (the options applied).
    std::optional<IsoSetup> iso;
};

// Reads "curve_setup.par" and "hardness_setup.par" of the directory (defaults
// where missing); solveFor 0..3 replaces the file's solve-for choice.
BatchSettings readBatchSettings(const std::string& settingsDirectory, int solveFor = -1);

// The analyses of one curve file, as the table reports them.
struct BatchRow {
    std::string file;
    std::string indent;            // the indent's name in a recognised export of several
    std::string error;             // empty when every requested number was calculated
    bool modulusComputed = false;  // the file gave points and the modulus numbers
    int points = 0;
    float pMaxMn = 0;
    float hMaxNm = 0;
    IndentationResults modulus;
    bool hardnessComputed = false;
    IndentationResults hardness;
    bool holdFound = false;
    float holdSeconds = 0;
    // The instrument-grade results (with BatchSettings::iso): the setup used
    // on this file and what it gave; results.error says why they are missing.
    IsoSetup isoSetup;
    std::optional<IsoResults> iso;
    // What the instrument file says about the indent (with --recognise): the
    // values asked for as "file" and the instrument's printed results.
    recognise::KnownMetadata known;
};

// Reads the file alone as "Open .MVR" does, then runs the modulus action of the
// branch flow on the unloading run after the curve's highest force and, when a
// hardness formula is chosen, the hardness flow on the top hold just before
// that run. Messages a flow would show become the row's error; nothing is
// written to the settings directory. With `known` (a batch that recognises
// instrument files, here a file no format claimed), the instrument-grade
// values asked for as "file" are looked up in it and the row's error says
// which it lacks.
BatchRow analyseBatchFile(const BatchSettings& settings, const std::string& path,
                          const recognise::KnownMetadata* known = nullptr);

// The analyses of analyseBatchFile on the curve the document holds (read
// already, row.file its path): fills the row's numbers, or its error.
void analyseBatchCurve(const BatchSettings& settings, CMivaro4Doc& doc, BatchRow& row);

// The same analyses of one curve held in memory as the bytes of a standard
// curve file (an indent of a recognised export); `file` names it in the row.
BatchRow analyseBatchCurveBytes(const BatchSettings& settings, const std::string& file,
                                std::string_view standardCurve,
                                const recognise::KnownMetadata* known = nullptr);

// One indent of a recognised export, analysed as its standard curve file
// would be; the instrument-grade results take the values asked for as "file"
// from the indent's metadata, and the row keeps the instrument's results.
BatchRow analyseRecognisedIndent(const BatchSettings& settings, const std::string& file,
                                 const recognise::RecognisedIndent& indent);

// The first point of the unloading run that follows the first point of highest
// force within [first, last], or -1 when no unloading point follows it.
int unloadingAfterPeak(const char* segment, const float* force, int first, int last);

// The table's row of one file: file (then, with withIndent, the indent's
// name), points, ... error (the columns without the instrument-grade
// results), then, with BatchSettings::iso, their cells and provenance and,
// with withIndent too (a batch of recognised files), the instrument_ cells.
// csvHeaderLine and csvRowLine write it.
ResultRow batchResultRow(const BatchRow& row, const BatchSettings& settings, bool withIndent = false);

// The header line and one file's line of the table without the
// instrument-grade results, each ending in '\n'.
std::string batchCsvHeader(int solveFor, bool withIndent = false);
std::string batchCsvRow(const BatchRow& row, int solveFor, bool withIndent = false);

}  // namespace mivaro

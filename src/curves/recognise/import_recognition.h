#pragma once

// The import setup dialog's side of the recogniser: the line under the
// preview and what "Recognise" does to the dialog's values.

#include <cstddef>
#include <string>

#include "curves/import_preview.h"
#include "curves/recognise/recognised_file.h"

namespace mivaro::recognise {

// Asks the recogniser about the previewed file (the claim and what is cheaply
// known) and puts the answer into the state; useRecogniser starts false.
void recogniseForImport(ImportDialogState& state, const std::string& path);

// What the dialog shows of a zip or workbook instead of its bytes: the format
// line, then the first indent's name and its first points (depth nm, force mN,
// time s, segment letter) in the text; the same values one per line in the
// column texts. Lines are split by CR LF, as in the setup's preview.
ImportPreview listRecognisedIndent(const RecogniseSummary& summary, const RecognisedIndent& first,
                                   std::size_t points);

// "Recognise": the units the file gives go into the setup, and OK will
// convert through the recogniser. Nothing changes for a file no format claims.
void applyRecognition(ImportDialogState& state);

// "Guess" returns to the setup's road: OK reads the columns as set.
void leaveRecognition(ImportDialogState& state);

// The line the dialog shows under the preview.
std::string recognitionLine(const ImportDialogState& state);

}  // namespace mivaro::recognise

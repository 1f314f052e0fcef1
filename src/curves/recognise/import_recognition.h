#pragma once

// The import setup dialog's side of the recogniser: the line under the
// preview and what "Recognise" does to the dialog's values.

#include <string>

#include "curves/import_preview.h"

namespace mivaro::recognise {

// Asks the recogniser about the previewed file (the claim and what is cheaply
// known) and puts the answer into the state; useRecogniser starts false.
void recogniseForImport(ImportDialogState& state, const std::string& path);

// "Recognise": the units the file gives go into the setup, and OK will
// convert through the recogniser. Nothing changes for a file no format claims.
void applyRecognition(ImportDialogState& state);

// "Guess" returns to the setup's road: OK reads the columns as set.
void leaveRecognition(ImportDialogState& state);

// The line the dialog shows under the preview.
std::string recognitionLine(const ImportDialogState& state);

}  // namespace mivaro::recognise

#pragma once

// Converting a recognised export into standard curve files beside it: one
// file per indent, segment labels written, each through the safe writer.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "curves/curve_conversion.h"
#include "curves/indent_curve.h"
#include "curves/recognise/recognised_file.h"
#include "platform/message_port.h"

namespace mivaro::recognise {

// The name an indent's file gets: "NAME.MVR" for a file of one indent;
// for several "NAME_<indent name>.MVR", or "NAME_<number>.MVR" (from 1) when
// the indent has no name. Characters a file name should not carry become '_'.
std::string indentOutputPath(const std::string& source, const std::string& indentName, int number,
                             bool several);

struct RecognisedConversion {
    RecogniseSummary summary;          // summary.recognised false: nothing was written
    std::vector<std::string> written;  // in file order
    std::vector<std::string> errors;   // for the user: each names the file, the indent and where
};

// Reads the file through the recogniser and writes each indent as soon as it
// is read (a first indent waits only until the next shows whether the file
// holds several). An indent that cannot be written is reported and the others
// still are; no file is ever left half written. `taken` holds the outputs of
// the same import, so no two indents share a file; `written` is told each
// path once it is on disk.
RecognisedConversion convertRecognisedFile(const std::string& path, std::set<std::string>& taken,
                                           const std::function<void(const std::string&)>& written = {});

// The import's conversion when "Recognise" was pressed: every entry of the
// name list from `first` on that a format claims is replaced by the standard
// files of its indents (in file order); entries no format claims are converted
// as the setup says ("MivaroOpenSetup.par"), standard curve files are kept as
// they are. What went wrong is told in one message naming file, indent and
// place; the other files still convert. `written` is told each path written.
ConversionReport convertWithRecogniser(IndentCurve& curve, std::size_t first, MessagePort& messages,
                                       const std::function<void(const std::string&)>& written = {});

// The standard curve file of one indent as bytes, what its file holds.
std::string standardCurveBytes(const RecognisedIndent& indent);

}  // namespace mivaro::recognise

#pragma once

#include <set>
#include <string>
#include <vector>

#include "curves/indent_curve.h"
#include "platform/message_port.h"

namespace mivaro {

// The file name of a path without its folder, cut at its first '.'; a name
// without '.' is taken whole.
std::string fileTitle(const std::string& path);

// The standard curve file an imported file converts to: everything from the
// first '.' of its file name on replaced by ".MVR" (".MVR" appended when the
// name has no '.'). Dots in folder names do not count.
std::string importOutputPath(const std::string& path);

// `wanted`, or when an earlier file of the same command already took that
// name, the first free "title_2.MVR", "title_3.MVR"... beside it. The name
// returned is added to `taken`.
std::string claimOutputPath(const std::string& wanted, std::set<std::string>& taken);

struct ConversionReport {
    std::vector<std::string> written;  // standard curve files written, in name-list order
    bool columnError = false;          // the reader reported one; that file left the name list
};

// The conversion pass of the import: every file of the name list is read
// (standard curve files with the fixed setup, others with
// "MivaroOpenSetup.par") and written as a standard curve file beside it; its
// entry becomes that file. A file whose standard file cannot be written keeps
// its own entry (it is still read for the graph) and is reported; a file with
// a column error leaves the list and the others go on. Two different files
// that map to one name get distinct names and the user is told which, while
// an export converted again replaces the standard file it made before: the
// list then holds that file once.
ConversionReport convertCurveFiles(IndentCurve& curve, MessagePort& messages);

inline constexpr const char* kFileSavedAsCaption = "File Saved As:";

// "Save As .MVR" once the name is chosen: every entry of the name list is read
// again from disk with its own setup and written into the chosen file's folder
// as title[_sourcetitle].MVR, each after a "File Saved As:" notice with its
// path. The name list is left as it was, whatever happens. Returns the paths
// written.
std::vector<std::string> saveCurveFilesAs(IndentCurve& curve, const std::string& chosenPath,
                                          MessagePort& messages);

}  // namespace mivaro

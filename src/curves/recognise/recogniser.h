#pragma once

// The one table of instrument formats: each format unit claims a file from its
// bytes (never from its name alone) and reads it; the first claim wins.

#include <string>
#include <string_view>

#include "curves/recognise/recognised_file.h"

namespace mivaro::recognise {

// Reads the file through the first format that claims it and hands each indent
// to the sink as soon as it is complete (a zip or workbook of many indents is
// never held whole). summary.recognised is false when no format claims it,
// and when the file cannot be read (error then says "cannot read PATH: why").
// A pipe, FIFO or device is read once, whole and within the readers' limit,
// and its bytes are shared with every other reader of the path.
RecogniseSummary recogniseFile(const std::string& path, const IndentSink& sink);

// The same for bytes already in memory (a member of a zip archive); name is
// the member's name, used for the indent's name and in messages.
RecogniseSummary recogniseBytes(std::string_view bytes, const std::string& name, const IndentSink& sink);

// The claim alone, with what the dialog's line says (format, indents when
// cheaply known, units, where the segments come from); reads no more than it
// must. Never throws; an unreadable file is simply not recognised.
RecogniseSummary sniffFile(const std::string& path);

// One line for the import dialog, e.g. "Hysitron TriboScan text: 1 indent,
// depth nm, load µN, segments from the blank lines. Press Recognise to use it."
std::string describeForDialog(const RecogniseSummary& summary);

}  // namespace mivaro::recognise

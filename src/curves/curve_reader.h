#pragma once

#include <string>
#include <string_view>

#include "curves/indent_curve.h"
#include "platform/message_port.h"

namespace mivaro {

enum class ReadOutcome {
    Read,         // the file was read (possibly with no points)
    NotOpened,    // the file could not be opened or read: no points, current path unchanged
    ColumnError,  // reported to the user; points and current path emptied, the name list untouched
};

// The four column error texts, shown with the caption "Error" and, on the
// lines below, the file's path and "line N" of the line that could not be read.
inline constexpr const char* kDisplacementColumnError = "Error loading the displacement column.";
inline constexpr const char* kForceColumnError = "Error loading the force column.";
inline constexpr const char* kTimeColumnError = "Error loading the time column.";
inline constexpr const char* kSegmentColumnError = "Error loading the segment column.";

// True when the path names a standard curve file (contains ".MVR", case-sensitive).
bool isStandardCurvePath(const std::string& path);

// Reads a curve file into the IndentCurve: standard curve files with the
// fixed setup, other files with "MivaroOpenSetup.par" from the settings
// directory (the previous setup stays when it is missing or unusable); the
// force instability from "setup.par". Rows with depth <= 0 are dropped;
// unlabelled curves get their letters from AssignSegments.
// dataLines, when known (countDataLines of the path), spares counting again.
// whyNotRead, when given, receives the reason of a NotOpened outcome.
ReadOutcome readCurveFile(IndentCurve& curve, const std::string& path, MessagePort& messages,
                          int dataLines = -1, std::string* whyNotRead = nullptr);

// The same reading over bytes in memory with the setup the IndentCurve holds
// already; no file is opened and the current file path is left alone.
ReadOutcome readCurveBytes(IndentCurve& curve, std::string_view bytes, MessagePort& messages);

}  // namespace mivaro

#pragma once

// One instrument format as the recogniser's table sees it. Each format unit
// (one .cpp in this folder) defines a function returning its descriptor; the
// table in recogniser.cpp tries them in order and the first claim wins.

#include <cstddef>
#include <string>
#include <string_view>

#include "curves/recognise/recognised_file.h"

namespace mivaro::recognise {

// How many leading bytes a claim may look at.
inline constexpr std::size_t kClaimHeadBytes = 64 * 1024;

struct FormatUnit {
    const char* name;  // display name, e.g. "Hysitron TriboScan text"

    // From the file's first bytes (at most kClaimHeadBytes) and its name: does
    // this format read the file? Never from the name alone; the name only
    // separates formats whose bytes look alike. Cheap, never throws.
    bool (*claims)(std::string_view head, std::string_view name);

    // Reads every indent of bytes held in memory, handing each to the sink.
    // name is the file's path or the archive member's name (messages, indent
    // names). The summary's recognised and format are set by the table.
    RecogniseSummary (*readBytes)(std::string_view bytes, const std::string& name, const IndentSink& sink);

    // Optional: reads straight from disk (formats that stream, or whose library
    // opens paths). Null: the table loads the file and calls readBytes.
    RecogniseSummary (*readFile)(const std::string& path, const IndentSink& sink) = nullptr;

    // Optional: the dialog's summary without reading every point (indents,
    // units, segment source). Null: the table reads the file and discards the
    // points.
    RecogniseSummary (*sniffFile)(const std::string& path) = nullptr;
};

// The text formats, one unit each.
const FormatUnit& hysitronHldFormat();
const FormatUnit& hysitronTriboScanFormat();
const FormatUnit& antonPaarTextFormat();
const FormatUnit& fischerscopeTextFormat();
const FormatUnit& loadingOnlyTextFormat();
const FormatUnit& nanoTestTextFormat();
const FormatUnit& delimitedTextFormat();

// The binary containers; each joins the table when its unit is built
// (compile definitions MIVARO_RECOGNISE_XLS and MIVARO_RECOGNISE_ZIP on
// mivaro_core, set where the unit is added to the build).
const FormatUnit& xlsWorkbookFormat();  // KLA / Agilent workbooks (FreeXL)
const FormatUnit& zipArchiveFormat();   // a .zip of exports, each member through recogniseBytes

}  // namespace mivaro::recognise

#include "curves/recognise/recogniser.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "curves/line_reader.h"
#include "curves/recognise/format_unit.h"
#include "platform/c_format.h"
#include "platform/safe_file_write.h"

namespace mivaro::recognise {
namespace {

// Containers with a magic number first, then the text formats from the most
// particular header to the general column-title line.
const std::vector<const FormatUnit*>& formatTable() {
    static const std::vector<const FormatUnit*> table = {
#ifdef MIVARO_RECOGNISE_ZIP
        &zipArchiveFormat(),
#endif
#ifdef MIVARO_RECOGNISE_XLS
        &xlsWorkbookFormat(),
#endif
        &hysitronHldFormat(),      &hysitronTriboScanFormat(), &antonPaarTextFormat(),
        &fischerscopeTextFormat(), &loadingOnlyTextFormat(),   &nanoTestTextFormat(),
        &delimitedTextFormat(),
    };
    return table;
}

const FormatUnit* claimant(std::string_view head, std::string_view name) {
    for (const FormatUnit* unit : formatTable()) {
        if (unit->claims(head, name)) {
            return unit;
        }
    }
    return nullptr;
}

// A regular file's first bytes for the claim (the unit reads the path again,
// streaming); a pipe, FIFO or device read once and whole, within the readers'
// limit, since reading its path again would find nothing.
struct Opened {
    std::string head;
    std::shared_ptr<const std::string> whole;
};

bool openForClaim(const std::string& path, Opened& opened, std::string& reason) {
    std::FILE* file = nullptr;
    if (!openSharedInput(path, file, opened.whole, reason)) {
        return false;
    }
    if (file == nullptr) {
        return true;
    }
    opened.head.resize(kClaimHeadBytes);
    opened.head.resize(std::fread(opened.head.data(), 1, opened.head.size(), file));
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        reason = "it could not be read";
    }
    return !failed;
}

RecogniseSummary unreadable(const std::string& path, const std::string& reason) {
    RecogniseSummary summary;
    summary.error = "cannot read " + path + ": " + reason;
    return summary;
}

RecogniseSummary stamped(RecogniseSummary summary, const FormatUnit& unit) {
    summary.recognised = true;
    summary.binary = unit.binary;
    if (summary.format.empty()) {  // a unit may name what it found more closely
        summary.format = unit.name;
    }
    return summary;
}

RecogniseSummary readThrough(const FormatUnit& unit, const std::string& path, const IndentSink& sink) {
    if (unit.readFile != nullptr) {
        return stamped(unit.readFile(path, sink), unit);
    }
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        RecogniseSummary summary = stamped({}, unit);
        summary.error = path + ": the file could not be read.";
        return summary;
    }
    return stamped(unit.readBytes(bytes, path, sink), unit);
}

}  // namespace

const char* segmentSourceName(SegmentSource source) {
    switch (source) {
        case SegmentSource::Labels:
            return "labels";
        case SegmentSource::BlankLines:
            return "blank lines";
        case SegmentSource::SegmentTable:
            return "segment table";
        case SegmentSource::Shape:
            return "shape";
    }
    return "shape";
}

RecogniseSummary recogniseFile(const std::string& path, const IndentSink& sink) {
    Opened opened;
    std::string reason;
    if (!openForClaim(path, opened, reason)) {
        return unreadable(path, reason);
    }
    if (opened.whole != nullptr) {
        return recogniseBytes(*opened.whole, path, sink);
    }
    const FormatUnit* unit = claimant(opened.head, path);
    return unit == nullptr ? RecogniseSummary{} : readThrough(*unit, path, sink);
}

RecogniseSummary recogniseBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    const FormatUnit* unit = claimant(bytes.substr(0, kClaimHeadBytes), name);
    return unit == nullptr ? RecogniseSummary{} : stamped(unit->readBytes(bytes, name, sink), *unit);
}

RecogniseSummary sniffFile(const std::string& path) {
    try {
        Opened opened;
        std::string reason;
        if (!openForClaim(path, opened, reason)) {
            return unreadable(path, reason);
        }
        const auto discard = [](RecognisedIndent&) { return true; };
        if (opened.whole != nullptr) {
            return recogniseBytes(*opened.whole, path, discard);
        }
        const FormatUnit* unit = claimant(opened.head, path);
        if (unit == nullptr) {
            return {};
        }
        if (unit->sniffFile != nullptr) {
            return stamped(unit->sniffFile(path), *unit);
        }
        return readThrough(*unit, path, discard);
    } catch (...) {
        return {};  // the dialog's line must never stop the dialog
    }
}

std::string describeForDialog(const RecogniseSummary& summary) {
    if (!summary.recognised) {
        return "Not a recognised instrument export: set the columns by hand or press Guess.";
    }
    if (!summary.error.empty()) {
        return summary.format + ", but " + summary.error;
    }
    std::string text = summary.format + ":";
    if (summary.indents > 0) {
        text += formatC(" %d indent%s,", summary.indents, summary.indents == 1 ? "" : "s");
    }
    if (!summary.depthUnit.empty()) {
        text += " depth " + summary.depthUnit + ",";
    }
    if (!summary.forceUnit.empty()) {
        text += " load " + summary.forceUnit + ",";
    }
    if (summary.loadingOnly) {
        text += " loading only (no unloading to analyse).";
    } else if (summary.segmentsFrom) {
        text += std::string(" segments from the ") + segmentSourceName(*summary.segmentsFrom) + ".";
    } else {
        text.back() = '.';
    }
    return text + " Press Recognise to use it.";
}

}  // namespace mivaro::recognise

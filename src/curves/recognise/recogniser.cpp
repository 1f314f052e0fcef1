#include "curves/recognise/recogniser.h"

#include <fstream>
#include <vector>

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

bool readHead(const std::string& path, std::string& head) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    head.resize(kClaimHeadBytes);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

RecogniseSummary stamped(RecogniseSummary summary, const FormatUnit& unit) {
    summary.recognised = true;
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
    std::string head;
    if (!readHead(path, head)) {
        return {};
    }
    const FormatUnit* unit = claimant(head, path);
    return unit == nullptr ? RecogniseSummary{} : readThrough(*unit, path, sink);
}

RecogniseSummary recogniseBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    const FormatUnit* unit = claimant(bytes.substr(0, kClaimHeadBytes), name);
    return unit == nullptr ? RecogniseSummary{} : stamped(unit->readBytes(bytes, name, sink), *unit);
}

RecogniseSummary sniffFile(const std::string& path) {
    try {
        std::string head;
        if (!readHead(path, head)) {
            return {};
        }
        const FormatUnit* unit = claimant(head, path);
        if (unit == nullptr) {
            return {};
        }
        if (unit->sniffFile != nullptr) {
            return stamped(unit->sniffFile(path), *unit);
        }
        return readThrough(*unit, path, [](RecognisedIndent&) { return true; });
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

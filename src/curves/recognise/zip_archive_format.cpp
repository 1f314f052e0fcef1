// A .zip of exports (a NanoTest run saves one text file per indent): every
// member goes through the recogniser on its own, one member in memory at a
// time, and its indents are named after the member when it names none.
#include <zip.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "curves/recognise/format_unit.h"
#include "curves/recognise/recogniser.h"
#include "platform/c_format.h"

namespace mivaro::recognise {
namespace {

constexpr const char* kFormatName = "Zip archive";
// A member larger than this is refused rather than unpacked (a zip bomb, or no export).
constexpr zip_uint64_t kMaxMemberBytes = 256ULL << 20;
// Archives inside archives are followed this deep and no deeper.
constexpr int kMaxNesting = 4;
thread_local int t_nesting = 0;

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct MemberCloser {
    void operator()(zip_file_t* member) const { zip_fclose(member); }
};

std::string zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// Folders and the resource forks some archivers add are no exports.
bool isExportMember(std::string_view name) {
    if (name.empty() || name.back() == '/' || name.substr(0, 9) == "__MACOSX/") {
        return false;
    }
    const std::size_t slash = name.find_last_of('/');
    const std::string_view file = slash == std::string_view::npos ? name : name.substr(slash + 1);
    return !file.empty() && file.front() != '.';
}

// The member's file name without folder and extension.
std::string memberTitle(std::string_view name) {
    const std::size_t slash = name.find_last_of('/');
    std::string_view file = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (const std::size_t dot = file.find_last_of('.'); dot != std::string_view::npos && dot > 0) {
        file = file.substr(0, dot);
    }
    return std::string(file);
}

// The member's bytes; an empty string and `why` when it cannot be unpacked.
bool readMember(zip_t* archive, zip_uint64_t index, std::string& bytes, std::string& why) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
        why = zip_strerror(archive);
        return false;
    }
    if (stat.size > kMaxMemberBytes) {
        why = formatC("it unpacks to %llu bytes, more than an export holds",
                      static_cast<unsigned long long>(stat.size));
        return false;
    }
    std::unique_ptr<zip_file_t, MemberCloser> member(zip_fopen_index(archive, index, 0));
    if (!member) {
        why = zip_strerror(archive);
        return false;
    }
    // Grown as the data arrives: a header that claims more than the member holds costs nothing.
    constexpr zip_uint64_t kChunk = 1 << 16;
    bytes.clear();
    while (bytes.size() < stat.size) {
        const std::size_t done = bytes.size();
        const zip_uint64_t want = std::min<zip_uint64_t>(kChunk, stat.size - done);
        bytes.resize(done + static_cast<std::size_t>(want));
        const zip_int64_t got = zip_fread(member.get(), bytes.data() + done, want);
        if (got <= 0) {
            const zip_error_t* error = zip_file_get_error(member.get());
            why = got < 0 ? zip_error_strerror(const_cast<zip_error_t*>(error)) : "it ends early";
            bytes.clear();
            return false;
        }
        bytes.resize(done + static_cast<std::size_t>(got));
    }
    // The checksum is tested once the end is read; a last read confirms it.
    char extra = 0;
    if (zip_fread(member.get(), &extra, 1) < 0) {
        why = zip_error_strerror(const_cast<zip_error_t*>(zip_file_get_error(member.get())));
        bytes.clear();
        return false;
    }
    return true;
}

RecogniseSummary readArchive(zip_t* archive, const std::string& shownName, const IndentSink& sink,
                             bool firstMemberOnly) {
    RecogniseSummary summary;
    std::vector<std::string> problems;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    bool stopped = false;
    int members = 0;
    for (zip_int64_t i = 0; i < count && !stopped; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* rawName = zip_get_name(archive, index, ZIP_FL_ENC_GUESS);
        const std::string member =
            rawName != nullptr ? rawName : formatC("member %lld", static_cast<long long>(i));
        if (!isExportMember(member)) {
            continue;
        }
        ++members;
        if (firstMemberOnly && members > 1) {
            continue;  // counted only
        }
        std::string bytes;
        std::string why;
        if (!readMember(archive, index, bytes, why)) {
            problems.push_back(shownName + ", member \"" + member + "\": it cannot be unpacked (" + why +
                               "); the archive may be damaged.");
            continue;
        }
        const std::string title = memberTitle(member);
        const RecogniseSummary inner = recogniseBytes(bytes, member, [&](RecognisedIndent& indent) {
            if (indent.name.empty()) {
                indent.name = title;
            }
            ++summary.indents;
            if (firstMemberOnly) {
                return false;  // its points are not wanted
            }
            stopped = !sink(indent);
            return !stopped;
        });
        if (!inner.recognised) {
            problems.push_back(shownName + ", member \"" + member +
                               "\": it is no export the program recognises; it was left out.");
            continue;
        }
        if (!inner.error.empty()) {
            problems.push_back(shownName + ", member " + inner.error);
        }
        if (summary.depthUnit.empty()) {
            summary.format = std::string(kFormatName) + " of " + inner.format;
            summary.depthUnit = inner.depthUnit;
            summary.forceUnit = inner.forceUnit;
            summary.segmentsFrom = inner.segmentsFrom;
            summary.loadingOnly = inner.loadingOnly;
        }
    }
    if (firstMemberOnly) {
        summary.indents = members;  // one indent a member, as far as the dialog says
    }
    if (members == 0) {
        problems.push_back(shownName + ": the archive holds no files.");
    }
    for (const std::string& p : problems) {
        summary.error += (summary.error.empty() ? "" : "\n") + p;
    }
    return summary;
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

RecogniseSummary openAndRead(const std::string& path, const IndentSink& sink, bool firstMemberOnly) {
    RecogniseSummary summary;
    int code = 0;
    Archive archive(zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!archive) {
        summary.error = fileNameOf(path) + ": the archive cannot be read (" + zipErrorText(code) +
                        "); it may be damaged.";
        return summary;
    }
    return readArchive(archive.get(), fileNameOf(path), sink, firstMemberOnly);
}

bool claimsArchive(std::string_view head, std::string_view) {
    return head.substr(0, 4) == std::string_view("PK\x03\x04", 4) ||
           head.substr(0, 4) == std::string_view("PK\x05\x06", 4);  // an empty archive
}

RecogniseSummary readArchiveFile(const std::string& path, const IndentSink& sink) {
    if (t_nesting >= kMaxNesting) {
        RecogniseSummary summary;
        summary.error = fileNameOf(path) + ": archives nested this deep are not read.";
        return summary;
    }
    ++t_nesting;
    RecogniseSummary summary = openAndRead(path, sink, false);
    --t_nesting;
    return summary;
}

RecogniseSummary readArchiveBytes(std::string_view bytes, const std::string& name, const IndentSink& sink) {
    RecogniseSummary summary;
    if (t_nesting >= kMaxNesting) {
        summary.error = name + ": archives nested this deep are not read.";
        return summary;
    }
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    Archive archive(source != nullptr ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error)
                                      : nullptr);
    if (!archive) {
        if (source != nullptr) {
            zip_source_free(source);
        }
        summary.error =
            name + ": the archive cannot be read (" + zip_error_strerror(&error) + "); it may be damaged.";
        zip_error_fini(&error);
        return summary;
    }
    zip_error_fini(&error);
    ++t_nesting;
    summary = readArchive(archive.get(), name, sink, false);
    --t_nesting;
    return summary;
}

// The members counted and the first one recognised: enough for the dialog's line.
RecogniseSummary sniffArchive(const std::string& path) {
    return openAndRead(
        path, [](RecognisedIndent&) { return true; }, true);
}

}  // namespace

const FormatUnit& zipArchiveFormat() {
    static const FormatUnit unit{kFormatName, claimsArchive, readArchiveBytes, readArchiveFile, sniffArchive};
    return unit;
}

}  // namespace mivaro::recognise

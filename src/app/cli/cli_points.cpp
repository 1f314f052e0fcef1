// mivaro-cli points [--settings DIR] FILE...: loads the files as the open
// command does and prints every point of the CurveSet as CSV.
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"

namespace mivaro::cli {
namespace {

constexpr const char* kUsage = "usage: mivaro-cli points [--settings DIR] FILE...\n";

// "%.9g" of a stored float, in the C locale whatever the process locale
// (to_chars with a precision formats as printf does).
void appendNumber(std::string& out, float value) {
    char field[40];
    const auto result =
        std::to_chars(field, field + sizeof field, static_cast<double>(value), std::chars_format::general, 9);
    out.append(field, result.ptr);
}

void appendInt(std::string& out, int value) {
    char field[16];
    const auto result = std::to_chars(field, field + sizeof field, value);
    out.append(field, result.ptr);
}

void printPoints(const CurveSet& set) {
    writeOut("curve,index,depth_nm,force_mN,time_s,segment\n");
    constexpr std::size_t kFlushAt = 1 << 16;
    std::string buffer;
    buffer.reserve(kFlushAt + 256);
    for (int i = 0; i < set.pointCount(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        appendInt(buffer, set.curveIndex[k]);
        buffer += ',';
        appendInt(buffer, i);
        buffer += ',';
        appendNumber(buffer, set.depth[k]);
        buffer += ',';
        appendNumber(buffer, set.force[k]);
        buffer += ',';
        appendNumber(buffer, set.time[k]);
        buffer += ',';
        buffer += set.segment[k];
        buffer += '\n';
        if (buffer.size() >= kFlushAt) {
            writeOut(buffer);
            buffer.clear();
        }
    }
    writeOut(buffer);
}

}  // namespace

int runPoints(const std::vector<std::string>& args) {
    CommandLine line;
    if (const std::string why = parseCommandLine(args, {"--settings"}, line); !why.empty()) {
        return usageError("points", why, kUsage);
    }
    const auto loaded = loadDocument("points", line.value("--settings", "."), line.files);
    printPoints(loaded->doc->curveSet());
    if (!outputWritten("points", "the points")) {
        return kExitMessage;
    }
    return loaded->messages.anyShown() ? kExitMessage : kExitOk;
}

}  // namespace mivaro::cli

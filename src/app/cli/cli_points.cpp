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

void printPoints(const CurveSet& set, std::FILE* out) {
    std::fputs("curve,index,depth_nm,force_mN,time_s,segment\n", out);
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
            std::fwrite(buffer.data(), 1, buffer.size(), out);
            buffer.clear();
        }
    }
    std::fwrite(buffer.data(), 1, buffer.size(), out);
}

}  // namespace

int runPoints(const std::vector<std::string>& args) {
    std::string settingsDirectory = ".";
    std::vector<std::string> files;
    bool options = true;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--settings") {
            if (k + 1 >= args.size()) {
                std::fputs("mivaro-cli points: --settings needs a directory\n", stderr);
                std::fputs(kUsage, stderr);
                return kExitUsage;
            }
            settingsDirectory = args[++k];
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "mivaro-cli points: unknown option %s\n", arg.c_str());
            std::fputs(kUsage, stderr);
            return kExitUsage;
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    const auto loaded = loadDocument(settingsDirectory, files);
    printPoints(loaded->doc->curveSet(), stdout);
    if (std::fflush(stdout) != 0) {
        std::fputs("mivaro-cli points: could not write the points\n", stderr);
        return kExitMessage;
    }
    return loaded->messages.anyShown() ? kExitMessage : kExitOk;
}

}  // namespace mivaro::cli

// libFuzzer target for the curve reader. The input is split at its first NUL
// byte: the part before it becomes "MivaroOpenSetup.par", the rest the curve
// file, read as a text import or, when the input's first byte is odd, as a
// standard curve file. Invariants checked: every kept point has depth > 0, the
// data-line count bounds the points, and a column error leaves nothing behind.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "curves/curve_reader.h"
#include "curves/decimal_conversion.h"
#include "curves/line_reader.h"
#include "curves/settings_files.h"

namespace {

class NoMessages final : public mivaro::MessagePort {
  public:
    mivaro::MessageAnswer showMessage(const std::string&, const std::string&,
                                      mivaro::MessageButtons) override {
        return mivaro::MessageAnswer::Ok;
    }
};

// Made once and never destroyed, so that the exit handler can still use it.
const std::string& workDirectory() {
    static const std::string* const directory = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        auto* dir = new std::string(std::string(base) + "/mivaro_fuzz_" + std::to_string(getpid()) + "/");
        const std::string command = "mkdir -p '" + *dir + "'";
        if (std::system(command.c_str()) != 0) {
            std::abort();
        }
        return dir;
    }();
    return *directory;
}

void removeWorkDirectory() {
    const std::string& d = workDirectory();
    for (const char* name : {"MivaroOpenSetup.par", "curve.MVR", "curve.txt"}) {
        std::remove((d + name).c_str());
    }
    std::remove(d.c_str());
}

void writeFile(const std::string& path, std::string_view content) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view setupText =
        split == std::string_view::npos ? std::string_view() : input.substr(0, split);
    const std::string_view curveText = split == std::string_view::npos ? input : input.substr(split + 1);

    double value = 0;
    const std::size_t consumed = mivaro::scanDecimal(input.data(), input.data() + input.size(), value);
    check(consumed <= input.size());

    mivaro::ColumnSetup parsed;
    if (mivaro::parseOpenSetup(std::string(setupText), parsed)) {
        check(parsed.separatorKind >= 0 && parsed.separatorKind <= 3);
    }

    static const bool cleanupRegistered = std::atexit(removeWorkDirectory) == 0;
    (void)cleanupRegistered;
    const std::string& dir = workDirectory();
    writeFile(dir + "MivaroOpenSetup.par", setupText);
    const bool standard = size > 0 && (data[0] & 1) != 0;
    const std::string path = dir + (standard ? "curve.MVR" : "curve.txt");
    writeFile(path, curveText);

    NoMessages messages;
    mivaro::IndentCurve curve;
    curve.settingsDirectory = dir;
    curve.names = {path};
    const mivaro::ReadOutcome outcome = mivaro::readCurveFile(curve, path, messages);
    check(outcome != mivaro::ReadOutcome::NotOpened);
    const std::size_t n = curve.depth.size();
    check(curve.force.size() == n && curve.time.size() == n && curve.segment.size() == n);
    check(static_cast<long long>(n) <= mivaro::countDataLines(path));
    for (const double depth : curve.depth) {
        check(depth > 0);
    }
    if (outcome == mivaro::ReadOutcome::ColumnError) {
        check(n == 0 && curve.names.empty() && curve.currentFilePath.empty());
    }
    return 0;
}

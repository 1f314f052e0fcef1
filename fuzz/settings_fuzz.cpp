// libFuzzer target for the readers of the .par settings files and of the
// project file, from memory. The first byte picks the reader. Invariants: a
// parsed open setup has a defined separator kind and reads back the same once
// written; project lines hold no line ends and join back to the same lines.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "analysis/analysis_settings.h"
#include "curves/project_file.h"
#include "curves/settings_files.h"
#include "fuzz_support.h"
#include "platform/c_format.h"

namespace {

using mivaro::fuzz::check;

// The text writeOpenSetup writes for a setup read from a file.
std::string openSetupText(const mivaro::ColumnSetup& s, const std::string& separator) {
    std::string text;
    for (const int v : {s.headerLines, s.displacementColumn, s.forceColumn, s.decimalComma, s.depthUnit,
                        s.forceUnit, s.separatorKind}) {
        text += mivaro::formatC("%d\n", v);
    }
    text += separator + "\n";
    for (const int v : {s.segmentColumnPresent, s.timeColumnPresent, s.segmentColumn, s.timeColumn}) {
        text += mivaro::formatC("%d\n", v);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 4) {
        case 0: {
            mivaro::ColumnSetup setup;
            std::string separator;
            if (mivaro::parseOpenSetup(text, setup, &separator)) {
                check(setup.separatorKind >= 0 && setup.separatorKind <= 3);
                if (!separator.empty()) {
                    mivaro::ColumnSetup again;
                    std::string separatorAgain;
                    check(mivaro::parseOpenSetup(openSetupText(setup, separator), again, &separatorAgain));
                    check(again == setup && separatorAgain == separator);
                }
            }
            break;
        }
        case 1: {
            float value = 0.5f;
            mivaro::parseForceInstability(text, value);
            check(value == value);
            break;
        }
        case 2: {
            const mivaro::ModulusSettings modulus = mivaro::parseModulusSettings(text);
            const mivaro::HardnessSettings hardness = mivaro::parseHardnessSettings(text);
            (void)modulus;
            (void)hardness;
            break;
        }
        default: {
            std::istringstream in(text);
            bool truncated = false;
            const auto lines = mivaro::readProjectLines(in, 2000, truncated);
            check(lines.size() <= 2000);
            std::string joined;
            for (const std::string& line : lines) {
                check(line.find_first_of("\r\n") == std::string::npos);
                joined += line + "\r\n";
            }
            if (!truncated) {
                std::istringstream again(joined);
                bool truncatedAgain = false;
                check(mivaro::readProjectLines(again, 2000, truncatedAgain) == lines);
            }
            break;
        }
    }
    return 0;
}

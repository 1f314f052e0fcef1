// The options of the instrument-grade results shared by `batch` and `analyse`.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "app/cli/cli_common.h"

namespace mivaro::cli {
namespace {

// "--zero-point" takes its range only when the next word looks like one, so
// that "--zero-point FILE" keeps FILE a file.
bool looksLikeRange(const std::string& word) {
    return !word.empty() && word[0] != '-' && word.find('-') != std::string::npos &&
           std::all_of(word.begin(), word.end(), [](char c) {
               return std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-';
           });
}

}  // namespace

std::string takeIsoOptions(std::vector<std::string>& args, IsoOptions& options) {
    std::vector<std::string> rest;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (arg == "--") {
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(k), args.end());
            break;
        }
        if (arg == "--iso") {
            options.iso = true;
        } else if (arg == kIsoZeroPointOption) {
            const bool range = k + 1 < args.size() && looksLikeRange(args[k + 1]);
            options.values.emplace_back(arg, range ? args[++k] : std::string());
        } else if (std::find(std::begin(kIsoValueOptions), std::end(kIsoValueOptions), arg) !=
                   std::end(kIsoValueOptions)) {
            if (k + 1 >= args.size()) {
                return arg + " needs a value";
            }
            options.values.emplace_back(arg, args[++k]);
        } else {
            rest.push_back(arg);
        }
    }
    if (!options.iso && !options.values.empty()) {
        return options.values.front().first + " goes with --iso";
    }
    args = std::move(rest);
    return {};
}

std::string isoSetupOf(const IsoOptions& options, const ModulusSettings& settings, IsoSetup& setup,
                       bool recognising) {
    setup = isoSetupFromSettings(settings);
    for (const auto& [option, value] : options.values) {
        if (const std::string why = applyIsoOption(setup, option, value); !why.empty()) {
            return why;
        }
    }
    if (needsFileMetadata(setup) && !recognising) {
        // Only the instrument-file recogniser reads a file's metadata; a standard curve file has none.
        return "the value file (--nu-s, --area, --frame-compliance, --drift) needs the file's metadata, "
               "which only --recognise gives";
    }
    return {};
}

}  // namespace mivaro::cli

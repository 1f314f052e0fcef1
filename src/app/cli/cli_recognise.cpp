// mivaro-cli recognise: what the instrument-file recogniser finds in each
// file, one JSON line per file.
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "curves/recognise/recogniser.h"
#include "curves/recognise/segments_from_shape.h"
#include "platform/c_format.h"

namespace mivaro::cli {
namespace {

constexpr const char* kRecogniseUsage = "usage: mivaro-cli recognise FILE...\n";

std::string jsonNumber(double value) {
    return std::isfinite(value) ? formatC("%.10g", value) : "null";
}

// The file's own name/value pairs, then the values the program uses, in its units.
std::string metadataObject(const recognise::RecognisedIndent& indent) {
    std::string out = "{";
    std::set<std::string> keys;
    const auto add = [&](const std::string& key, const std::string& json) {
        std::string unique = key;
        for (int n = 2; !keys.insert(unique).second; ++n) {
            unique = key + formatC(" (%d)", n);
        }
        out += (out.size() > 1 ? "," : "") + jsonText(unique) + ":" + json;
    };
    for (const auto& [name, value] : indent.metadata) {
        add(name, jsonText(value));
    }
    const recognise::KnownMetadata& known = indent.known;
    if (known.areaCoefficients) {
        std::string list = "[";
        for (const double c : *known.areaCoefficients) {
            list += (list.size() > 1 ? "," : "") + jsonNumber(c);
        }
        add("area_coefficients_nm", list + "]");
    }
    if (known.frameComplianceNmPerMn) {
        add("frame_compliance_nm_per_mN", jsonNumber(*known.frameComplianceNmPerMn));
    }
    if (known.driftNmPerS) {
        add("drift_nm_per_s", jsonNumber(*known.driftNmPerS));
    }
    if (known.depthDriftCorrected) {
        add("depth_drift_corrected", "true");
    }
    if (known.poissonRatio) {
        add("poisson_ratio", jsonNumber(*known.poissonRatio));
    }
    if (known.fitWindowLoPct && known.fitWindowHiPct) {
        add("fit_window_pct",
            "[" + jsonNumber(*known.fitWindowLoPct) + "," + jsonNumber(*known.fitWindowHiPct) + "]");
    }
    for (const auto& [name, value] : known.instrumentResults) {
        add(name, jsonNumber(value));
    }
    if (indent.xUm && indent.yUm) {
        add("position_um", "[" + jsonNumber(*indent.xUm) + "," + jsonNumber(*indent.yUm) + "]");
    }
    return out + "}";
}

}  // namespace

int runRecognise(const std::vector<std::string>& args) {
    CommandLine line;
    if (const std::string why = parseCommandLine(args, {}, line); !why.empty()) {
        return usageError("recognise", why, kRecogniseUsage);
    }
    if (line.files.empty()) {
        return usageError("recognise", "give at least one file", kRecogniseUsage);
    }
    bool allRecognised = true;
    for (const std::string& file : line.files) {
        std::string list;
        const recognise::RecogniseSummary summary =
            recognise::recogniseFile(file, [&](recognise::RecognisedIndent& indent) {
                list += (list.empty() ? "{" : ",{") + std::string("\"name\":") + jsonText(indent.name) +
                        formatC(",\"points\":%zu,\"letters\":", indent.depthNm.size()) +
                        jsonText(recognise::runLengthLetters(indent.segments)) +
                        ",\"metadata\":" + metadataObject(indent) + "}";
                return true;
            });
        if (!summary.recognised && summary.error.empty()) {
            std::fprintf(stderr, "mivaro-cli recognise: %s: not a recognised instrument export\n",
                         file.c_str());
        } else if (!summary.error.empty()) {
            std::fprintf(stderr, "mivaro-cli recognise: %s\n", summary.error.c_str());
        }
        allRecognised = allRecognised && summary.recognised && summary.error.empty();
        const std::string format = summary.recognised ? jsonText(summary.format) : "null";
        const std::string from = summary.recognised && summary.segmentsFrom
                                     ? jsonText(recognise::segmentSourceName(*summary.segmentsFrom))
                                     : "null";
        writeOut("{\"file\":" + jsonText(file) + ",\"format\":" + format +
                 formatC(",\"indents\":%d,\"segments_from\":", summary.indents) + from +
                 ",\"indent_list\":[" + list + "]}\n");
    }
    if (!outputWritten("recognise", "the output")) {
        return kExitMessage;
    }
    return allRecognised ? kExitOk : kExitMessage;
}

}  // namespace mivaro::cli

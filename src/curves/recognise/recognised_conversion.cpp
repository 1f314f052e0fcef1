#include "curves/recognise/recognised_conversion.h"

#include <optional>
#include <utility>

#include "curves/curve_reader.h"
#include "curves/curve_writer.h"
#include "curves/recognise/recogniser.h"

namespace mivaro::recognise {
namespace {

// Letters, digits and a few marks; anything else (separators, spaces, dots,
// which would cut the name at the next import) becomes '_'.
std::string safeForFileName(const std::string& name) {
    // Long enough to tell indents apart, short of the file systems' 255 bytes with any source name.
    constexpr std::size_t kLongest = 80;
    std::string safe = name.substr(0, kLongest);
    for (char& c : safe) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ||
                           c == '-' || c == '+' || c == '_';
        if (!plain) {
            c = '_';
        }
    }
    return safe;
}

// The indent's points as the writer takes them; the indent's arrays move over.
IndentCurve curveOf(RecognisedIndent&& indent) {
    IndentCurve curve;
    curve.depth = std::move(indent.depthNm);
    curve.force = std::move(indent.forceMn);
    curve.time = std::move(indent.timeS);
    curve.time.resize(curve.depth.size(), 0.0);
    curve.segment.assign(indent.segments.begin(), indent.segments.end());
    curve.segment.resize(curve.depth.size(), NO_SEGMENT);
    return curve;
}

std::string indentLabel(const RecognisedIndent& indent, int number) {
    return indent.name.empty() ? "indent " + std::to_string(number) : "indent \"" + indent.name + "\"";
}

}  // namespace

std::string indentOutputPath(const std::string& source, const std::string& indentName, int number,
                             bool several) {
    const std::string single = importOutputPath(source);
    if (!several) {
        return single;
    }
    const std::string stem = single.substr(0, single.size() - 4);
    const std::string suffix = indentName.empty() ? std::to_string(number) : safeForFileName(indentName);
    return stem + "_" + suffix + ".MVR";
}

std::string standardCurveBytes(const RecognisedIndent& indent) {
    std::string text;
    formatStandardCurve(curveOf(RecognisedIndent(indent)), text);
    return text;
}

RecognisedConversion convertRecognisedFile(const std::string& path, std::set<std::string>& taken,
                                           const std::function<void(const std::string&)>& written) {
    RecognisedConversion result;
    int number = 0;
    const auto write = [&](RecognisedIndent& indent, int k, bool several) {
        const std::string output = claimOutputPath(indentOutputPath(path, indent.name, k, several), taken);
        std::string error;
        if (!writeStandardCurveFile(output, curveOf(std::move(indent)), error)) {
            result.errors.push_back(path + ", " + indentLabel(indent, k) + ": not written. " + error);
            return;
        }
        result.written.push_back(output);
        if (written) {
            written(output);
        }
    };
    // Whether the file holds one indent or several is known at the second.
    std::optional<RecognisedIndent> first;
    result.summary = recogniseFile(path, [&](RecognisedIndent& indent) {
        ++number;
        if (number == 1) {
            first = std::move(indent);
            return true;
        }
        if (first) {
            write(*first, 1, true);
            first.reset();
        }
        write(indent, number, true);
        return true;
    });
    if (first) {
        // A file that lost later indents to an error still names this one as one of several.
        write(*first, 1, !result.summary.error.empty());
    }
    if (!result.summary.error.empty()) {
        result.errors.insert(result.errors.begin(), result.summary.error);
    }
    return result;
}

ConversionReport convertWithRecogniser(IndentCurve& curve, std::size_t first, MessagePort& messages,
                                       const std::function<void(const std::string&)>& written) {
    ConversionReport report;
    std::set<std::string> taken;
    std::vector<std::string> errors;
    // Each entry becomes the files written for it; entries left to the setup
    // keep their place and are converted afterwards.
    std::vector<std::vector<std::string>> becomes(curve.names.size());
    std::vector<std::size_t> bySetup;
    for (std::size_t k = 0; k < curve.names.size(); ++k) {
        const std::string& entry = curve.names[k];
        if (k < first || isStandardCurvePath(entry)) {
            becomes[k] = {entry};
            continue;
        }
        RecognisedConversion converted = convertRecognisedFile(entry, taken, [&](const std::string& path) {
            report.written.push_back(path);
            if (written) {
                written(path);
            }
        });
        if (!converted.summary.recognised) {
            bySetup.push_back(k);
            continue;
        }
        becomes[k] = std::move(converted.written);
        errors.insert(errors.end(), converted.errors.begin(), converted.errors.end());
    }
    if (!bySetup.empty()) {
        const std::vector<std::string> all = curve.names;
        curve.names.clear();
        for (const std::size_t k : bySetup) {
            curve.names.push_back(all[k]);
        }
        const ConversionReport bySetupReport = convertCurveFiles(curve, messages);
        report.columnError = bySetupReport.columnError;
        for (const std::string& path : bySetupReport.written) {
            report.written.push_back(path);
            if (written) {
                written(path);
            }
        }
        // A column error empties the list: those files are left out, the recognised ones stay.
        for (std::size_t j = 0; j < bySetup.size(); ++j) {
            if (j < curve.names.size()) {
                becomes[bySetup[j]] = {curve.names[j]};
            }
        }
    }
    curve.names.clear();
    for (std::vector<std::string>& paths : becomes) {
        for (std::string& path : paths) {
            curve.names.push_back(std::move(path));
        }
    }
    if (!errors.empty()) {
        constexpr std::size_t kShown = 20;
        std::string text = "Some indents could not be converted:";
        for (std::size_t k = 0; k < errors.size() && k < kShown; ++k) {
            text += "\n" + errors[k];
        }
        if (errors.size() > kShown) {
            text += "\n(and " + std::to_string(errors.size() - kShown) + " more)";
        }
        messages.showMessage(text, "Error", MessageButtons::Ok);
    }
    return report;
}

}  // namespace mivaro::recognise

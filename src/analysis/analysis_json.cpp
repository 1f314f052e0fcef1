#include "analysis/analysis_json.h"

#include <cmath>

#include "platform/c_format.h"
#include "platform/text_encoding.h"

namespace mivaro {
namespace {

constexpr int kDoubleDigits = 17;
constexpr int kFloatDigits = 9;

std::string resultsJson(const IndentationResults& r) {
    std::string json = "{";
    auto field = [&json](const char* name, double value, int digits) {
        if (json.size() > 1) {
            json += ", ";
        }
        json += jsonString(name);
        json += ": ";
        json += jsonNumber(value, digits);
    };
    field("r2", r.r2, kDoubleDigits);
    field("m", r.m, kDoubleDigits);
    field("a", r.a, kDoubleDigits);
    field("hf", r.hf, kDoubleDigits);
    field("S", r.S, kDoubleDigits);
    field("hc", r.hc, kDoubleDigits);
    field("Er", r.Er, kFloatDigits);
    field("Es", r.Es, kFloatDigits);
    field("Vs", r.Vs, kFloatDigits);
    field("Vi", r.Vi, kFloatDigits);
    field("Ei", r.Ei, kFloatDigits);
    field("HM", r.HM, kFloatDigits);
    field("HV", r.HV, kFloatDigits);
    field("HRA", r.HRA, kFloatDigits);
    return json + "}";
}

}  // namespace

std::string jsonNumber(double value, int significantDigits) {
    if (!std::isfinite(value)) {
        return jsonString(formatC("%f", value));
    }
    return formatC("%.*g", significantDigits, value);
}

std::string jsonString(const std::string& text) {
    std::string json = "\"";
    // JSON is UTF-8: other bytes (a Latin-1 label or file name) are read as
    // Windows-1252, the code page of most instrument exports.
    for (const char c : displayTextUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20) {
            json += formatC("\\u%04x", byte);
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string analysisJson(const FlowOutcome& outcome, const IndentationResults& results) {
    std::string json = "{\"text\": ";
    json += outcome.text ? jsonString(*outcome.text) : "null";
    json += ", \"results\": ";
    json += outcome.resultsComputed ? resultsJson(results) : "null";
    json += ", \"series\": ";
    if (outcome.seriesAdded) {
        json += "[";
        for (std::size_t i = 0; i < outcome.seriesX.size(); ++i) {
            json += i == 0 ? "[" : ", [";
            json += jsonNumber(outcome.seriesX[i], kDoubleDigits);
            json += ", ";
            json += jsonNumber(outcome.seriesY[i], kDoubleDigits);
            json += "]";
        }
        json += "]";
    } else {
        json += "null";
    }
    return json + "}";
}

std::string analysisJson(const FlowOutcome& outcome, const IndentationResults& results,
                         std::optional<int> point) {
    std::string json = analysisJson(outcome, results);
    json.pop_back();
    json += ", \"point\": ";
    json += point ? formatC("%d", *point) : "null";
    return json + "}";
}

}  // namespace mivaro

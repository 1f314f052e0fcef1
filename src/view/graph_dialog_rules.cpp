#include "view/graph_dialog_rules.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/c_format.h"
#include "view/text_cursor.h"

namespace mivaro {

namespace {

const char* fieldName(AxisField field) {
    switch (field) {
        case AxisField::Min:
            return "Minimum";
        case AxisField::Max:
            return "Maximum";
        case AxisField::Major:
            return "Major Units";
        case AxisField::LabelDecimals:
            return "Decimal Precision";
    }
    return "";
}

AxisReadResult failure(AxisField field, const std::string& need) {
    AxisReadResult result;
    result.failedField = field;
    result.message = formatC("%s: %s", fieldName(field), need.c_str());
    return result;
}

}  // namespace

std::string formatAxisValue(double value) {
    return formatC("%g", value);
}

AxisFieldTexts axisFieldTexts(const AxisDialogValues& values) {
    return AxisFieldTexts{formatAxisValue(values.min), formatAxisValue(values.max),
                          formatAxisValue(values.major), formatC("%d", values.labelDecimals)};
}

std::optional<float> readNumberField(std::string_view text) {
    const std::string_view number = trimmed(text);
    double value = 0;
    std::size_t used = 0;
    if (number.empty() || !scanCDouble(number, value, &used) || used != number.size()) {
        return std::nullopt;
    }
    // inf, nan and values beyond a float would leave the axis without ticks.
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

std::optional<int> readDecimalsField(std::string_view text) {
    const std::string_view number = trimmed(text);
    int value = 0;
    std::size_t used = 0;
    if (number.empty() || !scanCInt(number, value, &used) || used != number.size() || value < 0 ||
        value > 9) {
        return std::nullopt;
    }
    return value;
}

AxisReadResult readAxisFields(const AxisDialogValues& flags, const AxisFieldTexts& texts) {
    static const std::string kNumber = "Please enter a number.";
    AxisDialogValues values = flags;
    const auto min = readNumberField(texts.min);
    if (!min) {
        return failure(AxisField::Min, kNumber);
    }
    const auto max = readNumberField(texts.max);
    if (!max) {
        return failure(AxisField::Max, kNumber);
    }
    const auto major = readNumberField(texts.major);
    if (!major) {
        return failure(AxisField::Major, kNumber);
    }
    const auto decimals = readDecimalsField(texts.labelDecimals);
    if (!decimals) {
        return failure(AxisField::LabelDecimals, "Please enter an integer between 0 and 9.");
    }
    values.min = *min;
    values.max = *max;
    values.major = *major;
    values.labelDecimals = *decimals;
    AxisReadResult result;
    result.values = values;
    return result;
}

int readFontSize(std::string_view text) {
    int value = 0;
    return scanCInt(text.substr(0, 9), value) ? value : 0;
}

TitlesReadResult readAxisTitles(std::string_view fontSizeText, int bold, const std::string& xLabel,
                                const std::string& yLabel) {
    TitlesReadResult result;
    const int fontSize = readFontSize(fontSizeText);
    if (fontSize < 0 || fontSize > kMaxFontSize) {
        result.message = formatC("Font Size: please enter a size from 0 to %d.", kMaxFontSize);
        return result;
    }
    for (const auto& [label, name] : {std::pair{&xLabel, "X Label"}, std::pair{&yLabel, "Y Label"}}) {
        if (characterCount(*label) > kMaxAxisTitleLength) {
            result.message = formatC("%s: a title can have at most %d characters; this one has %d.", name,
                                     kMaxAxisTitleLength, characterCount(*label));
            return result;
        }
    }
    result.values = AxisTitlesValues{fontSize, bold, xLabel, yLabel};
    return result;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace mivaro

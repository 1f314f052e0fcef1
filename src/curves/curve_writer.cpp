#include "curves/curve_writer.h"

#include <charconv>
#include <ostream>

#include "platform/safe_file_write.h"

namespace mivaro {
namespace {

const char* labelOf(char letter) {
    switch (letter) {
        case LOAD:
            return "LOAD";
        case TOP_HOLD:
            return "TOP_HOLD";
        case UNLOAD:
            return "UNLOAD";
        case BOTTOM_HOLD:
            return "BUTTOM_HOLD";
        case RELOAD:
            return "RELOAD";
        default:
            return nullptr;
    }
}

// to_chars with a precision gives the digits printf's %e and %f give, and
// never consults the locale.
char* appendNumber(char* p, char* end, double value, std::chars_format format) {
    return std::to_chars(p, end, value, format, 6).ptr;
}

}  // namespace

void formatStandardCurve(const IndentCurve& curve, std::string& out) {
    out += kStandardCurveHeader;
    out += "\r\n";
    const std::size_t n = curve.depth.size();
    const char* label = kUnlabelledSegment;
    // Widest line: two %e of 15 characters at most, a %f of up to 316, the label.
    char line[400];
    char* const end = line + sizeof line;
    for (std::size_t i = 0; i < n; ++i) {
        if (const char* own = labelOf(curve.segment[i]); own != nullptr) {
            label = own;
        }
        char* p = appendNumber(line, end, curve.depth[i] * 0.001, std::chars_format::scientific);
        *p++ = ',';
        p = appendNumber(p, end, curve.force[i], std::chars_format::scientific);
        *p++ = ',';
        p = appendNumber(p, end, curve.time[i], std::chars_format::fixed);
        *p++ = ',';
        out.append(line, p);
        out += label;
        out += "\r\n";
    }
}

bool writeStandardCurveFile(const std::string& path, const IndentCurve& curve, std::string& error) {
    std::string text;
    text.reserve(40 + curve.depth.size() * 48);
    formatStandardCurve(curve, text);
    return saveFileSafely(
        path,
        [&text](std::ostream& out) { out.write(text.data(), static_cast<std::streamsize>(text.size())); },
        error);
}

}  // namespace mivaro

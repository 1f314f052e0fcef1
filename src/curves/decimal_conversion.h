#pragma once

#include <cstddef>
#include <string_view>

namespace mivaro {

// The number syntax of curve files: leading white space, optional sign,
// digits with an optional '.', optional exponent ('e' or 'E', optional sign,
// digits). Nothing else is a number here: "nan", "inf" and hexadecimal forms
// give 0, whatever the process locale. Conversion stops at the first character
// that cannot continue the number.
//
// Returns the number of characters consumed (white space included), 0 when no
// number starts at text; value is then 0.
std::size_t scanDecimal(const char* text, const char* end, double& value);

// The value at the start of text, 0 when there is no number there.
inline double decimalValue(std::string_view text) {
    double value = 0;
    scanDecimal(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace mivaro

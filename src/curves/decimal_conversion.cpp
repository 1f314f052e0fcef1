#include "curves/decimal_conversion.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

namespace mivaro {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The white space of the C locale's isspace(), fixed so that no locale changes it.
bool isCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// strtod's answer for a number from_chars finds out of range: overflow gives
// +-infinity (HUGE_VAL), underflow a zero of the right sign. Which one it is
// follows from the decimal exponent of the first significant digit.
double outOfRangeValue(const char* digits, const char* end, bool negative) {
    long long position = 0;  // decimal exponent of the first significant digit
    bool seenSignificant = false;
    bool afterPoint = false;
    const char* p = digits;
    for (; p != end && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.') {
            afterPoint = true;
        } else if (!seenSignificant) {
            if (*p != '0') {
                seenSignificant = true;
            }
            if (afterPoint) {
                --position;
            }
        } else if (!afterPoint) {
            ++position;
        }
    }
    long long exponent = 0;
    if (p != end) {
        ++p;
        const bool negativeExponent = *p == '-';
        if (*p == '+' || *p == '-') {
            ++p;
        }
        for (; p != end; ++p) {
            exponent =
                std::min(exponent * 10 + (*p - '0'), 1000000000LL);  // saturate, sign is all that matters
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    const double magnitude = position + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

}  // namespace

std::size_t scanDecimal(const char* text, const char* end, double& value) {
    value = 0;
    const char* p = text;
    while (p != end && isCSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* numberStart = p;
    std::size_t mantissaDigits = 0;
    while (p != end && isDigit(*p)) {
        ++p;
        ++mantissaDigits;
    }
    if (p != end && *p == '.') {
        ++p;
        while (p != end && isDigit(*p)) {
            ++p;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return 0;
    }
    // An exponent counts only when at least one digit follows "e" or "e+"/"e-".
    if (p != end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q != end && (*q == '+' || *q == '-')) {
            ++q;
        }
        if (q != end && isDigit(*q)) {
            while (q != end && isDigit(*q)) {
                ++q;
            }
            p = q;
        }
    }
    // The span [numberStart, p) is now a valid unsigned decimal number.
    double magnitude = 0;
    const auto result = std::from_chars(numberStart, p, magnitude, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = outOfRangeValue(numberStart, p, negative);
    } else {
        value = negative ? -magnitude : magnitude;
    }
    return static_cast<std::size_t>(p - text);
}

}  // namespace mivaro

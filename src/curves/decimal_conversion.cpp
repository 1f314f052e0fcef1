#include "curves/decimal_conversion.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

namespace mivaro {
namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

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
    // Validate the syntax; on the way, gather the digits for the fast path
    // below (wrapping past 19 digits does no harm: then it is not used).
    const char* numberStart = p;
    std::uint64_t mantissa = 0;
    while (p != end && isDigit(*p)) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        ++p;
    }
    std::size_t mantissaDigits = static_cast<std::size_t>(p - numberStart);
    long scale = 0;  // power of ten the gathered mantissa is to be multiplied by
    if (p != end && *p == '.') {
        ++p;
        const char* fraction = p;
        while (p != end && isDigit(*p)) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
            ++p;
        }
        scale = -(p - fraction);
        mantissaDigits += static_cast<std::size_t>(p - fraction);
    }
    // Up to 15 digits the mantissa is below 10^15 < 2^53: an exact double.
    const bool exact = mantissaDigits <= 15;
    if (mantissaDigits == 0) {
        return 0;
    }
    // An exponent counts only when at least one digit follows "e" or "e+"/"e-".
    if (p != end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (q != end && (*q == '+' || *q == '-')) {
            negativeExponent = *q == '-';
            ++q;
        }
        if (q != end && isDigit(*q)) {
            int exponent = 0;
            while (q != end && isDigit(*q)) {
                exponent = std::min(exponent * 10 + (*q - '0'), 100000);
                ++q;
            }
            scale += negativeExponent ? -exponent : exponent;
            p = q;
        }
    }
    // The span [numberStart, p) is now a valid unsigned decimal number.
    // Fast path: a mantissa below 2^53 times or over a power of ten up to
    // 10^22 (both exact doubles) is correctly rounded by one IEEE operation,
    // the same double from_chars gives.
    double magnitude = 0;
    if (exact && scale >= -22 && scale <= 22) {
        const double m = static_cast<double>(mantissa);
        magnitude = scale < 0 ? m / kPowersOfTen[-scale] : m * kPowersOfTen[scale];
    } else {
        const auto result = std::from_chars(numberStart, p, magnitude, std::chars_format::general);
        if (result.ec == std::errc::result_out_of_range) {
            value = outOfRangeValue(numberStart, p, negative);
            return static_cast<std::size_t>(p - text);
        }
    }
    value = negative ? -magnitude : magnitude;
    return static_cast<std::size_t>(p - text);
}

}  // namespace mivaro

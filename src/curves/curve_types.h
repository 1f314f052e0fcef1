#pragma once

#include <cstdint>

namespace mivaro {

// One letter per point naming the test segment it belongs to.
enum SegmentKind : char {
    LOAD = 'L',
    TOP_HOLD = 'T',
    UNLOAD = 'U',
    BOTTOM_HOLD = 'B',
    RELOAD = 'R',
    NO_SEGMENT = 'X',
};

// Colour as stored with points and curves: red in the low byte.
using Rgb = std::uint32_t;

constexpr Rgb makeRgb(int red, int green, int blue) {
    return static_cast<Rgb>(red & 0xff) | (static_cast<Rgb>(green & 0xff) << 8) |
           (static_cast<Rgb>(blue & 0xff) << 16);
}
constexpr int redOf(Rgb colour) {
    return static_cast<int>(colour & 0xff);
}
constexpr int greenOf(Rgb colour) {
    return static_cast<int>((colour >> 8) & 0xff);
}
constexpr int blueOf(Rgb colour) {
    return static_cast<int>((colour >> 16) & 0xff);
}

// How the lines of a text curve file are split into values. Field order is
// the line order of "MivaroOpenSetup.par".
struct ColumnSetup {
    int headerLines = 1;
    int displacementColumn = 1;  // 1-based; 0 or 1 both mean the first column
    int forceColumn = 2;
    int decimalComma = 0;   // 0 = period, 1 = comma
    int depthUnit = 1;      // 0 nm, 1 um, 2 mm, 3 cm
    int forceUnit = 1;      // 0 uN, 1 mN, 2 N
    int separatorKind = 0;  // 0 comma, 1 tab, 2 space, 3 other
    char otherSeparator = ' ';
    int segmentColumnPresent = 1;  // 1 = yes, anything else = no
    int timeColumnPresent = 1;
    int segmentColumn = 4;
    int timeColumn = 3;

    bool operator==(const ColumnSetup&) const = default;
};

// The fixed setup of standard curve files (.MVR).
constexpr ColumnSetup kStandardColumnSetup{};

// Results of the last unloading analysis; kept by the IndentCurve.
struct IndentationResults {
    double r2 = 0;
    double m = 0;
    double a = 0;
    double hf = 0;
    double S = 0;
    double hc = 0;
    float Er = 0;
    float Es = 0;
    float Vs = 0;
    float Vi = 0;
    float Ei = 0;
    float HM = 0;
    float HV = 0;
    float HRA = 0;
};

}  // namespace mivaro

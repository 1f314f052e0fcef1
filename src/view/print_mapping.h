#pragma once

namespace mivaro {

// How a printed page maps the graph's client pixels to device units: the
// anisotropic mapping of 400 x 518 logical units onto 1700 x 2200 device
// units (a letter page at 200 dots per inch), scaled to the device's
// resolution. When the graph would not fit the printable area it is shrunk
// by one factor for both directions, so its proportions stay those of the
// screen.
struct PrintScale {
    double x = 1;  // device units per client pixel, horizontally
    double y = 1;  // and vertically
};

inline constexpr double kPrintLogicalWidth = 400;
inline constexpr double kPrintLogicalHeight = 518;
inline constexpr double kPrintDeviceWidth = 1700;
inline constexpr double kPrintDeviceHeight = 2200;
inline constexpr double kPrintDeviceDpi = 200;  // 1700 x 2200 is 8.5 x 11 inches at this resolution

PrintScale printScale(int clientWidth, int clientHeight, double dpiX, double dpiY, int pageWidth,
                      int pageHeight);

}  // namespace mivaro

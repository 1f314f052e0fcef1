#pragma once

#include <string>
#include <vector>

#include "curves/curve_set.h"
#include "view/drawing_surface.h"
#include "view/graph_settings.h"

namespace mivaro {

// Largest depth and force over the points that are part of the graph; 0.91
// each when there is no such point (empty set, or every point left out).
struct DataMaxima {
    double depthNm = 0.91;
    double forceMn = 0.91;
};
DataMaxima dataMaxima(const CurveSet& curves);

// Writes the automatic minima and maxima into the settings.
void applyAutomaticRanges(ViewSettings& settings, const DataMaxima& maxima);
// Writes the automatic major unit of one axis; the paint does it only once the
// plot has passed the size test, as it draws that axis.
void applyAutomaticMajor(AxisScale& axis, int majorDivisions);

// Font sizes and plot rectangle for a client area; the hit boxes other than
// xAxisBand are left for drawFrame, which knows the titles.
void layOutPlot(const ViewSettings& settings, ClientRect client, PlotLayout& layout);
// The plot is drawn only when it is at least 100 pixels wide and high.
bool plotFitsWindow(const PlotLayout& layout);

// Real value to pixel, truncated toward zero. A degenerate range (maximum
// equal to minimum, or not finite) maps to the axis origin; results are
// clamped to +-kPixelLimit so that no conversion overflows and no line grows
// beyond what a surface can walk through quickly.
inline constexpr int kPixelLimit = 1 << 20;
inline int truncToPixel(double value) {
    if (value >= kPixelLimit) {
        return kPixelLimit;
    }
    if (value <= -kPixelLimit) {
        return -kPixelLimit;
    }
    return value == value ? static_cast<int>(value) : 0;  // NaN maps to 0
}

class PlotMapping {
  public:
    PlotMapping(const AxisScale& x, const AxisScale& y, const PlotLayout& layout);
    PlotMapping(const ViewSettings& settings, const PlotLayout& layout)
        : PlotMapping(settings.x, settings.y, layout) {}

    // trunc((x - x.min) * (plotRight - plotLeft) / (x.max - x.min) + plotLeft)
    int px(double x) const {
        return m_xUsable ? truncToPixel((x - m_xMin) * m_width / m_xRange + m_left) : m_left;
    }
    // trunc(plotBottom - (y - y.min) * (plotBottom - plotTop) / (y.max - y.min))
    int py(double y) const {
        return m_yUsable ? truncToPixel(m_bottom - (y - m_yMin) * m_height / m_yRange) : m_bottom;
    }
    // Drawn only when min <= value < max on both axes.
    bool visible(double x, double y) const { return m_xMin <= x && x < m_xMax && m_yMin <= y && y < m_yMax; }

  private:
    double m_xMin, m_xMax, m_yMin, m_yMax;
    double m_xRange, m_yRange;
    double m_width, m_height;
    int m_left, m_bottom;
    bool m_xUsable, m_yUsable;
};

// How the ticks of one axis run: from min by major while the value stays
// below (strict) or at most (inclusive) max * limitFactor. The main graph
// sums in double precision, the modulus graph in 32-bit floats.
struct TickRule {
    double limitFactor = 1.001;
    bool inclusive = true;
    bool singlePrecision = false;
    int fallbackDivisions = 10;
};

// The tick values of one axis by the rule. A major unit that is not a
// positive number, or one that would give more than kMaxTicks ticks, is
// replaced by (max - min) / fallbackDivisions (10 when that is not positive);
// when that still fails (max == min) only the tick at min is made, and a
// range that is not finite gets no ticks.
inline constexpr int kMaxTicks = 1000;
std::vector<double> tickValues(const AxisScale& axis, const TickRule& rule);
// The main graph's ticks: from min by major while <= max * 1.001.
inline std::vector<double> tickValues(const AxisScale& axis, int majorDivisions) {
    return tickValues(axis, TickRule{1.001, true, false, majorDivisions});
}

// The pieces of an axis frame, shared by every graph. The pen and the
// horizontal font are the caller's; h and cw come from the layout.
// X ticks (length h/4) with "%.*f" labels centred h/3 below the plot, then
// the axis line from plotLeft to the last tick.
void drawXAxis(DrawingSurface& surface, const PlotMapping& map, const PlotLayout& layout,
               const std::vector<double>& ticks, int decimals);
// Y ticks left of the plot with right-aligned labels, then the axis line
// from the last tick down to plotBottom.
void drawYAxis(DrawingSurface& surface, const PlotMapping& map, const PlotLayout& layout,
               const std::vector<double>& ticks, int decimals);
// The lines through 0 of an axis whose minimum is negative.
void drawZeroLines(DrawingSurface& surface, const PlotMapping& map, const PlotLayout& layout,
                   const AxisScale& x, const AxisScale& y);
// The x title centred 1.5 lines under the plot; returns its hit box, one line
// high and (characters / 2 + padChars) character widths either side.
Box drawXTitle(DrawingSurface& surface, const PlotLayout& layout, const std::string& title, int padChars);
// The y title reading upwards from (left, centreY) in font turned by 90
// degrees; font is selected again afterwards. Returns its hit box from left
// to boxRight, sized along the text as drawXTitle's.
Box drawYTitle(DrawingSurface& surface, const PlotLayout& layout, FontChoice font, int left, int centreY,
               int boxRight, const std::string& title, int padChars);

// Ticks, labels, axis lines, zero lines and both titles; stores the automatic
// major units into settings, yAxisBand and the title boxes into layout.
void drawFrame(DrawingSurface& surface, ViewSettings& settings, PlotLayout& layout, const std::string& xTitle,
               const std::string& yTitle);

}  // namespace mivaro

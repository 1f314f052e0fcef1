#include "view/plot_frame.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/c_format.h"
#include "view/text_cursor.h"

namespace mivaro {

DataMaxima dataMaxima(const CurveSet& curves) {
    constexpr float kNone = -std::numeric_limits<float>::infinity();
    float depth = kNone;
    float force = kNone;
    const int n = std::min({curves.pointCount(), static_cast<int>(curves.force.size()),
                            static_cast<int>(curves.curveIndex.size())});
    const float* depths = curves.depth.data();
    const float* forces = curves.force.data();
    const int* owners = curves.curveIndex.data();
    for (int i = 0; i < n; ++i) {
        // Left-out points count as "no value"; only a strictly greater value
        // replaces the maximum, so NaN never does. Written without branches,
        // which keeps this scan over every point cheap.
        const bool included = owners[i] != -1;
        const float d = included ? depths[i] : kNone;
        const float f = included ? forces[i] : kNone;
        depth = depth < d ? d : depth;
        force = force < f ? f : force;
    }
    DataMaxima maxima;
    if (depth != kNone) {
        maxima.depthNm = depth;
    }
    if (force != kNone) {
        maxima.forceMn = force;
    }
    return maxima;
}

namespace {

void applyAxis(AxisScale& axis, double maximum) {
    if (axis.autoMin == 1) {
        axis.min = 0;
    }
    if (axis.autoMax == 1) {
        axis.max = static_cast<float>(1.1 * maximum);
    }
}

}  // namespace

void applyAutomaticRanges(ViewSettings& settings, const DataMaxima& maxima) {
    applyAxis(settings.x, maxima.depthNm);
    applyAxis(settings.y, maxima.forceMn);
}

void applyAutomaticMajor(AxisScale& axis, int majorDivisions) {
    if (axis.autoMajor == 1) {
        axis.major = static_cast<float>((static_cast<double>(axis.max) - axis.min) / majorDivisions);
    }
}

void layOutPlot(const ViewSettings& settings, ClientRect client, PlotLayout& layout) {
    const int h = settings.lineHeight();
    const int cw = static_cast<int>(0.4 * h);
    layout.lineHeight = h;
    layout.charWidth = cw;
    layout.client = client;
    layout.plotLeft = client.left + 18 * cw;
    layout.plotTop = static_cast<int>(client.top + 1.1 * h);
    layout.plotRight = static_cast<int>(0.9 * (client.right - client.left));
    layout.plotBottom = client.bottom - 3 * h - client.top;
    layout.xAxisBand = Box{layout.plotLeft, layout.plotBottom - 10, layout.plotRight, layout.plotBottom + 10};
}

bool plotFitsWindow(const PlotLayout& layout) {
    return layout.plotRight - layout.plotLeft >= 100 && layout.plotBottom - layout.plotTop >= 100;
}

PlotMapping::PlotMapping(const ViewSettings& settings, const PlotLayout& layout)
    : m_xMin(settings.x.min),
      m_xMax(settings.x.max),
      m_yMin(settings.y.min),
      m_yMax(settings.y.max),
      m_xRange(m_xMax - m_xMin),
      m_yRange(m_yMax - m_yMin),
      m_width(layout.plotRight - layout.plotLeft),
      m_height(layout.plotBottom - layout.plotTop),
      m_left(layout.plotLeft),
      m_bottom(layout.plotBottom),
      // A range of zero or one that is not finite maps to the axis origin.
      m_xUsable(m_xRange != 0 && std::isfinite(m_xRange)),
      m_yUsable(m_yRange != 0 && std::isfinite(m_yRange)) {}

namespace {

// Ticks the loop would make with this major unit, or -1 when it is unusable.
double tickCount(double min, double limit, double major) {
    if (!(major > 0) || !std::isfinite(major)) {
        return -1;
    }
    const double count = std::floor((limit - min) / major) + 1;
    return count > kMaxTicks ? -1 : count;
}

}  // namespace

std::vector<double> tickValues(const AxisScale& axis, int majorDivisions) {
    std::vector<double> ticks;
    const double min = axis.min;
    const double limit = static_cast<double>(axis.max) * 1.001;
    if (!std::isfinite(min) || !std::isfinite(limit) || min > limit) {
        return ticks;  // nothing lies in the range
    }
    double major = axis.major;
    if (tickCount(min, limit, major) < 0) {
        major = (static_cast<double>(axis.max) - min) / (majorDivisions > 0 ? majorDivisions : 10);
        if (tickCount(min, limit, major) < 0) {
            ticks.push_back(min);
            return ticks;
        }
    }
    // The counter guards against a step lost in rounding (v + major == v).
    for (double v = min; v <= limit && static_cast<int>(ticks.size()) <= kMaxTicks; v += major) {
        ticks.push_back(v);
    }
    return ticks;
}

void drawFrame(DrawingSurface& surface, ViewSettings& settings, PlotLayout& layout, const std::string& xTitle,
               const std::string& yTitle) {
    const int h = layout.lineHeight;
    const int cw = layout.charWidth;
    const PlotMapping map(settings, layout);
    const int decimals = std::clamp(settings.labelDecimals, 0, 9);
    surface.setPen(settings.boldText == 1 ? 2 : 1, makeRgb(0, 0, 0));

    // X ticks with labels, then the axis line up to the last tick.
    applyAutomaticMajor(settings.x, settings.majorDivisions);
    const std::vector<double> xTicks = tickValues(settings.x, settings.majorDivisions);
    int lastX = 0;
    for (double v : xTicks) {
        lastX = map.px(v);
        surface.moveTo(lastX, layout.plotBottom);
        surface.lineTo(lastX, layout.plotBottom + h / 4);
        surface.drawText(lastX, layout.plotBottom + h / 3, formatC("%.*f", decimals, v), TextAlign::Centre);
    }
    if (!xTicks.empty()) {
        surface.moveTo(layout.plotLeft, layout.plotBottom);
        surface.lineTo(lastX, layout.plotBottom);
    }

    applyAutomaticMajor(settings.y, settings.majorDivisions);
    layout.yAxisBand = Box{layout.plotLeft - 10, layout.plotTop, layout.plotLeft + 10, layout.plotBottom};
    const std::vector<double> yTicks = tickValues(settings.y, settings.majorDivisions);
    int lastY = 0;
    for (double v : yTicks) {
        lastY = map.py(v);
        surface.moveTo(layout.plotLeft, lastY);
        surface.lineTo(layout.plotLeft - h / 4, lastY);
        surface.drawText(layout.plotLeft - cw, lastY - h / 2, formatC("%.*f", decimals, v), TextAlign::Right);
    }
    if (!yTicks.empty()) {
        surface.moveTo(layout.plotLeft, lastY);
        surface.lineTo(layout.plotLeft, layout.plotBottom);
    }

    if (settings.x.min < 0) {
        const int zero = map.px(0);
        surface.moveTo(zero, layout.plotTop);
        surface.lineTo(zero, layout.plotBottom);
    }
    if (settings.y.min < 0) {
        const int zero = map.py(0);
        surface.moveTo(layout.plotLeft, zero);
        surface.lineTo(layout.plotRight, zero);
    }

    const int cx = layout.plotLeft + (layout.plotRight - layout.plotLeft) / 2;
    const int titleTop = static_cast<int>(layout.plotBottom + 1.5 * h);
    surface.drawText(cx, titleTop, xTitle, TextAlign::Centre);
    const int xHalf = (characterCount(xTitle) / 2 + 1) * cw;
    layout.xTitleBox =
        Box{cx - xHalf, titleTop, cx + xHalf, static_cast<int>(layout.plotBottom + h + 1.5 * h)};

    // The y title reads upwards, its top towards the left edge, centred on
    // half the plot height counted from the top of the client area.
    const int cy = (layout.plotBottom - layout.plotTop) / 2;
    FontChoice rotated;
    rotated.cellHeight = h;
    rotated.weight = settings.boldText == 1 ? 700 : 400;
    rotated.rotationDeg = 90;
    surface.selectFont(rotated);
    surface.drawText(2 * h, cy, yTitle, TextAlign::Centre);
    rotated.rotationDeg = 0;
    surface.selectFont(rotated);
    const int yHalf = (characterCount(yTitle) / 2 + 1) * cw;
    layout.yTitleBox = Box{2 * h, cy - yHalf, 3 * h, cy + yHalf};
}

}  // namespace mivaro

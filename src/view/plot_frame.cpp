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

PlotMapping::PlotMapping(const AxisScale& x, const AxisScale& y, const PlotLayout& layout)
    : m_xMin(x.min),
      m_xMax(x.max),
      m_yMin(y.min),
      m_yMax(y.max),
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

std::vector<double> tickValues(const AxisScale& axis, const TickRule& rule) {
    std::vector<double> ticks;
    const double min = axis.min;
    const double limit = static_cast<double>(axis.max) * rule.limitFactor;
    if (!std::isfinite(min) || !std::isfinite(limit) || min > limit) {
        return ticks;  // nothing lies in the range
    }
    double major = axis.major;
    if (tickCount(min, limit, major) < 0) {
        const int divisions = rule.fallbackDivisions > 0 ? rule.fallbackDivisions : 10;
        major = (static_cast<double>(axis.max) - min) / divisions;
        if (tickCount(min, limit, major) < 0) {
            ticks.push_back(min);
            return ticks;
        }
    }
    const auto inRange = [&](double v) { return rule.inclusive ? v <= limit : v < limit; };
    if (rule.singlePrecision) {
        // A float sum stops growing when the step is lost in rounding.
        const auto step = static_cast<float>(major);
        for (float v = axis.min; inRange(v) && static_cast<int>(ticks.size()) <= kMaxTicks; v += step) {
            ticks.push_back(v);
            if (v + step == v) {
                break;
            }
        }
        return ticks;
    }
    // The counter guards against a step lost in rounding (v + major == v).
    for (double v = min; inRange(v) && static_cast<int>(ticks.size()) <= kMaxTicks; v += major) {
        ticks.push_back(v);
    }
    return ticks;
}

void drawXAxis(DrawingSurface& surface, const PlotMapping& map, const PlotLayout& layout,
               const std::vector<double>& ticks, int decimals) {
    const int h = layout.lineHeight;
    int lastX = 0;
    for (double v : ticks) {
        lastX = map.px(v);
        surface.moveTo(lastX, layout.plotBottom);
        surface.lineTo(lastX, layout.plotBottom + h / 4);
        surface.drawText(lastX, layout.plotBottom + h / 3, formatC("%.*f", decimals, v), TextAlign::Centre);
    }
    if (!ticks.empty()) {
        surface.moveTo(layout.plotLeft, layout.plotBottom);
        surface.lineTo(lastX, layout.plotBottom);
    }
}

void drawYAxis(DrawingSurface& surface, const PlotMapping& map, const PlotLayout& layout,
               const std::vector<double>& ticks, int decimals) {
    const int h = layout.lineHeight;
    int lastY = 0;
    for (double v : ticks) {
        lastY = map.py(v);
        surface.moveTo(layout.plotLeft, lastY);
        surface.lineTo(layout.plotLeft - h / 4, lastY);
        surface.drawText(layout.plotLeft - layout.charWidth, lastY - h / 2, formatC("%.*f", decimals, v),
                         TextAlign::Right);
    }
    if (!ticks.empty()) {
        surface.moveTo(layout.plotLeft, lastY);
        surface.lineTo(layout.plotLeft, layout.plotBottom);
    }
}

void drawZeroLines(DrawingSurface& surface, const PlotMapping& map, const PlotLayout& layout,
                   const AxisScale& x, const AxisScale& y) {
    if (x.min < 0) {
        const int zero = map.px(0);
        surface.moveTo(zero, layout.plotTop);
        surface.lineTo(zero, layout.plotBottom);
    }
    if (y.min < 0) {
        const int zero = map.py(0);
        surface.moveTo(layout.plotLeft, zero);
        surface.lineTo(layout.plotRight, zero);
    }
}

Box drawXTitle(DrawingSurface& surface, const PlotLayout& layout, const std::string& title, int padChars) {
    const int h = layout.lineHeight;
    const int cx = layout.plotLeft + (layout.plotRight - layout.plotLeft) / 2;
    const int titleTop = static_cast<int>(layout.plotBottom + 1.5 * h);
    surface.drawText(cx, titleTop, title, TextAlign::Centre);
    const int half = (characterCount(title) / 2 + padChars) * layout.charWidth;
    return Box{cx - half, titleTop, cx + half, static_cast<int>(layout.plotBottom + h + 1.5 * h)};
}

Box drawYTitle(DrawingSurface& surface, const PlotLayout& layout, FontChoice font, int left, int centreY,
               int boxRight, const std::string& title, int padChars) {
    const int horizontal = font.rotationDeg;
    font.rotationDeg = 90;
    surface.selectFont(font);
    surface.drawText(left, centreY, title, TextAlign::Centre);
    font.rotationDeg = horizontal;
    surface.selectFont(font);
    const int half = (characterCount(title) / 2 + padChars) * layout.charWidth;
    return Box{left, centreY - half, boxRight, centreY + half};
}

void drawFrame(DrawingSurface& surface, ViewSettings& settings, PlotLayout& layout, const std::string& xTitle,
               const std::string& yTitle) {
    const int h = layout.lineHeight;
    const PlotMapping map(settings, layout);
    const int decimals = std::clamp(settings.labelDecimals, 0, 9);
    surface.setPen(settings.boldText == 1 ? 2 : 1, makeRgb(0, 0, 0));

    applyAutomaticMajor(settings.x, settings.majorDivisions);
    drawXAxis(surface, map, layout, tickValues(settings.x, settings.majorDivisions), decimals);

    applyAutomaticMajor(settings.y, settings.majorDivisions);
    layout.yAxisBand = Box{layout.plotLeft - 10, layout.plotTop, layout.plotLeft + 10, layout.plotBottom};
    drawYAxis(surface, map, layout, tickValues(settings.y, settings.majorDivisions), decimals);

    drawZeroLines(surface, map, layout, settings.x, settings.y);

    layout.xTitleBox = drawXTitle(surface, layout, xTitle, 1);
    // The y title reads upwards, its top towards the left edge, centred on
    // half the plot height counted from the top of the client area.
    FontChoice font;
    font.cellHeight = h;
    font.weight = settings.boldText == 1 ? 700 : 400;
    layout.yTitleBox =
        drawYTitle(surface, layout, font, 2 * h, (layout.plotBottom - layout.plotTop) / 2, 3 * h, yTitle, 1);
}

}  // namespace mivaro

#include "modgraph/xy_graph_wnd.h"

#include <algorithm>
#include <cmath>

#include "view/curve_painter.h"

namespace mivaro {

void CXYGraphWnd::setNextSeriesStyle(Rgb colour, int markerStyle, int markerSize) {
    if (m_count >= kSeriesSlots) {
        return;
    }
    XYSeries& next = m_series[static_cast<std::size_t>(m_count)];
    next.colour = colour;
    next.markerStyle = markerStyle;
    next.markerSize = markerSize;
}

void CXYGraphWnd::AddSeries(const double* x, const double* y, int n) {
    if (m_count >= kSeriesSlots) {
        return;
    }
    const int points = (x != nullptr && y != nullptr) ? std::max(n, 0) : 0;
    XYSeries& slot = m_series[static_cast<std::size_t>(m_count)];
    slot.x.assign(x, x + points);
    slot.y.assign(y, y + points);
    slot.pointCount = points;
    ++m_count;
}

void CXYGraphWnd::redrawAndShow() {
    if (m_ports.window != nullptr) {
        m_ports.window->requestRepaint();
        m_ports.window->showWindow();
    }
}

void CXYGraphWnd::repaint() {
    if (m_ports.window != nullptr) {
        m_ports.window->requestRepaint();
    }
}

FontChoice CXYGraphWnd::graphFont(int rotationDeg) const {
    FontChoice font;
    font.face = "Arial";
    font.cellHeight = std::max(m_settings.fontHeight, 1);
    font.weight = m_settings.boldText == 1 ? 700 : 400;
    font.rotationDeg = rotationDeg;
    return font;
}

namespace {

struct Extremes {
    double xMin, xMax, yMin, yMax;
};

// Only a strictly smaller or larger value replaces a running extreme, so NaN
// never does.
void widen(Extremes& e, double x, double y) {
    e.xMin = x < e.xMin ? x : e.xMin;
    e.xMax = x > e.xMax ? x : e.xMax;
    e.yMin = y < e.yMin ? y : e.yMin;
    e.yMax = y > e.yMax ? y : e.yMax;
}

int usablePoints(const XYSeries& s) {
    return std::clamp(s.pointCount, 0, static_cast<int>(std::min(s.x.size(), s.y.size())));
}

// The frame of the whole client rectangle, one pixel wide, inside it.
void drawClientFrame(DrawingSurface& surface, ClientRect c) {
    surface.setPen(1, makeRgb(0, 0, 0));
    surface.moveTo(c.left, c.top);
    surface.lineTo(c.right - 1, c.top);
    surface.lineTo(c.right - 1, c.bottom - 1);
    surface.lineTo(c.left, c.bottom - 1);
    surface.lineTo(c.left, c.top);
}

}  // namespace

void CXYGraphWnd::paint(DrawingSurface& surface) {
    const ClientRect client = surface.clientRect();
    drawClientFrame(surface, client);

    const FontChoice font = graphFont();
    surface.selectFont(font);
    surface.setPen(m_settings.boldText == 1 ? 2 : 1, makeRgb(0, 0, 0));
    const int t = font.cellHeight;
    const int cw = static_cast<int>(0.4 * t);

    // Without two points in the first series the ranges start from 0..0.91.
    const bool drawsSeries = m_count > 0 && usablePoints(m_series[0]) >= 2;
    Extremes e = drawsSeries ? Extremes{9e99, -9e99, 9e99, -9e99} : Extremes{0, 0.91, 0, 0.91};
    for (int k = 0; k < m_count; ++k) {
        const XYSeries& s = m_series[static_cast<std::size_t>(k)];
        const int n = usablePoints(s);
        for (int j = 0; j < n; ++j) {
            widen(e, s.x[static_cast<std::size_t>(j)], s.y[static_cast<std::size_t>(j)]);
        }
    }
    AxisScale& xs = m_settings.x;
    AxisScale& ys = m_settings.y;
    if (xs.autoMin == 1) {
        xs.min = static_cast<float>(e.xMin);
    }
    if (ys.autoMin == 1) {
        ys.min = 0;
    }
    if (xs.autoMax == 1) {
        xs.max = static_cast<float>(e.xMax);
    }
    if (ys.autoMax == 1) {
        ys.max = static_cast<float>(1.1 * e.yMax);
    }

    PlotLayout layout = m_layout;
    layout.lineHeight = t;
    layout.charWidth = cw;
    layout.client = client;
    layout.plotLeft = client.left + 12 * cw;
    layout.plotTop = static_cast<int>(client.top + 1.1 * t);
    layout.plotRight = client.right - 8 * cw - client.left;
    layout.plotBottom = client.bottom - 3 * t - client.top;
    layout.frameDrawn = plotFitsWindow(layout);
    if (!layout.frameDrawn) {
        m_layout.frameDrawn = false;  // the hit boxes of the last drawn plot stay
        return;
    }
    const int height = layout.plotBottom - layout.plotTop;
    const int decimals = std::clamp(m_settings.labelDecimals, 0, 9);
    const PlotMapping map(xs, ys, layout);

    applyAutomaticMajor(xs, m_settings.majorDivisions);
    layout.xAxisBand = Box{layout.plotLeft, layout.plotBottom - 10, layout.plotRight, layout.plotBottom + 10};
    drawXAxis(surface, map, layout, tickValues(xs, TickRule{1.0001, false, true, m_settings.majorDivisions}),
              decimals);
    layout.xTitleBox = drawXTitle(surface, layout, m_settings.xTitle, 0);

    for (int k = 0; k < m_texts.count(); ++k) {
        const TextSlot& line = m_texts.slot(k);
        surface.drawText(line.x, line.y, line.text, TextAlign::Left);
    }

    applyAutomaticMajor(ys, m_settings.majorDivisions);
    layout.yAxisBand = Box{layout.plotLeft - 10, layout.plotTop, layout.plotLeft + 10, layout.plotBottom};
    drawYAxis(surface, map, layout, tickValues(ys, TickRule{1.01, true, true, m_settings.majorDivisions}),
              decimals);
    drawZeroLines(surface, map, layout, xs, ys);

    // Centred on half the plot height counted from the top of the client.
    layout.yTitleBox = drawYTitle(surface, layout, font, 1, height / 2, t, m_settings.yTitle, 0);
    m_layout = layout;

    if (drawsSeries) {
        drawSeries(surface, map);
    }
}

void CXYGraphWnd::drawSeries(DrawingSurface& surface, const PlotMapping& map) const {
    for (int k = 0; k < m_count; ++k) {
        const XYSeries& s = m_series[static_cast<std::size_t>(k)];
        const int n = usablePoints(s);
        if (s.markerStyle == LINE) {
            surface.setPen(std::clamp(s.markerSize, 0, kMaxMarkerSize), s.colour);
        }
        bool previousDrawn = false;
        for (int j = 0; j < n; ++j) {
            const double x = s.x[static_cast<std::size_t>(j)];
            const double y = s.y[static_cast<std::size_t>(j)];
            if (!map.visible(x, y)) {
                previousDrawn = false;
                continue;
            }
            const int px = map.px(x);
            const int py = map.py(y);
            if (!previousDrawn) {
                surface.moveTo(px, py);
            }
            previousDrawn = true;
            if (s.markerStyle == LINE) {
                surface.lineTo(px, py);
            } else {
                surface.marker(s.markerStyle, s.markerSize, px, py, s.colour);
            }
        }
    }
}

PixelSize dialogUnitsToPixels(int unitsWide, int unitsHigh, int charWidthPx, int charHeightPx) {
    // As the system's MulDiv: the exact quotient rounded half away from zero.
    const auto scale = [](int units, int base, int per) {
        return static_cast<int>(std::lround(static_cast<double>(units) * base / per));
    };
    return PixelSize{scale(unitsWide, charWidthPx, 4), scale(unitsHigh, charHeightPx, 8)};
}

PixelSize initialClientSize() {
    return dialogUnitsToPixels(CXYGraphWnd::kDialogUnitsWide, CXYGraphWnd::kDialogUnitsHigh, 6, 13);
}

}  // namespace mivaro

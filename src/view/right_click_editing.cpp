#include "view/right_click_editing.h"

#include "view/point_pick.h"

namespace mivaro {

RightClickTargets routeRightRelease(const CurveSet& curves, const ViewSettings& settings,
                                    const PlotLayout& layout, int x, int y) {
    RightClickTargets targets;
    targets.point = pickNearestPoint(curves, PlotMapping(settings, layout), x, y);
    targets.xAxis = layout.xAxisBand.contains(x, y);
    targets.yAxis = layout.yAxisBand.contains(x, y);
    targets.titles = layout.xTitleBox.contains(x, y) || layout.yTitleBox.contains(x, y);
    return targets;
}

AxisDialogValues axisDialogValues(const AxisScale& axis, int labelDecimals) {
    return AxisDialogValues{axis.autoMin, axis.autoMax, axis.autoMajor, axis.min,
                            axis.max,     axis.major,   labelDecimals};
}

void applyAxisDialog(const AxisDialogValues& values, AxisScale& axis, int& labelDecimals) {
    axis.autoMin = values.autoMin;
    axis.autoMax = values.autoMax;
    axis.autoMajor = values.autoMajor;
    axis.min = values.min;
    axis.max = values.max;
    axis.major = values.major;
    labelDecimals = values.labelDecimals;
}

void editAtRightRelease(const RightClickContext& context, int x, int y) {
    // All tests first, against the picture the user clicked on: a dialog's OK
    // repaints and may move the boxes before the next test would run.
    const RightClickTargets targets =
        routeRightRelease(context.curves, context.settings, context.layout, x, y);
    const auto repaint = [&context] {
        if (context.repaint) {
            context.repaint();
        }
    };
    if (targets.point) {
        const int curve = context.curves.curveIndex[static_cast<std::size_t>(*targets.point)];
        if (const auto values = context.curveStyle.askCurveStyle(curveStyleValues(context.curves, curve))) {
            applyCurveStyle(context.curves, curve, *values);
            repaint();
        }
    }
    ViewSettings& settings = context.settings;
    if (targets.xAxis) {
        if (const auto values =
                context.graphDialogs.askXAxis(axisDialogValues(settings.x, settings.labelDecimals))) {
            applyAxisDialog(*values, settings.x, settings.labelDecimals);
            repaint();
        }
    }
    if (targets.yAxis) {
        if (const auto values =
                context.graphDialogs.askYAxis(axisDialogValues(settings.y, settings.labelDecimals))) {
            applyAxisDialog(*values, settings.y, settings.labelDecimals);
            repaint();
        }
    }
    if (targets.titles) {
        const AxisTitlesValues current{settings.fontSize, settings.boldText, context.xTitle, context.yTitle};
        if (const auto values = context.graphDialogs.askAxisTitles(current)) {
            settings.fontSize = values->fontSize;
            settings.boldText = values->bold;
            context.xTitle = values->xLabel;
            context.yTitle = values->yLabel;
            repaint();
        }
    }
}

}  // namespace mivaro

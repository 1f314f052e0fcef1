#pragma once

#include <functional>
#include <optional>
#include <string>

#include "curves/curve_set.h"
#include "view/curve_style_dialog.h"
#include "view/graph_dialogs.h"
#include "view/graph_settings.h"

namespace mivaro {

// What a right-button release at one position means, decided against the
// geometry of the last paint. Every test stands on its own: a release on a
// curve point inside the x axis band opens both dialogs, one after the other.
struct RightClickTargets {
    std::optional<int> point;  // the picked curve point (Curve Style dialog)
    bool xAxis = false;        // inside xAxisBand (X Axis dialog)
    bool yAxis = false;        // inside yAxisBand (Y Axis dialog)
    bool titles = false;       // inside xTitleBox or yTitleBox (Axis Titles dialog)

    bool any() const { return point.has_value() || xAxis || yAxis || titles; }
};

RightClickTargets routeRightRelease(const CurveSet& curves, const ViewSettings& settings,
                                    const PlotLayout& layout, int x, int y);

// Everything the right-click editing reads and writes, owned elsewhere.
struct RightClickContext {
    CurveSet& curves;
    ViewSettings& settings;
    const PlotLayout& layout;  // of the last paint
    std::string& xTitle;       // the document's axis titles
    std::string& yTitle;
    CurveStyleDialogPort& curveStyle;
    GraphDialogPort& graphDialogs;
    std::function<void()> repaint;
};

// The right-button release on the main graph: opens, in this order, the
// dialog of every target that matches and applies what each OK returns,
// repainting after each. A release inside the corner box opens nothing: the
// tabbed dialog earlier versions showed there read nothing back.
void editAtRightRelease(const RightClickContext& context, int x, int y);

// The axis dialog values of one axis and the shared label precision, and back.
AxisDialogValues axisDialogValues(const AxisScale& axis, int labelDecimals);
void applyAxisDialog(const AxisDialogValues& values, AxisScale& axis, int& labelDecimals);

}  // namespace mivaro

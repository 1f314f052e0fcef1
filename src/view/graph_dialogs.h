#pragma once

#include <optional>
#include <string>

#include "platform/dialog_answer.h"

namespace mivaro {

// What the "X Axis" and "Y Axis" dialogs edit: one axis range with its
// automatic flags, and the decimal precision of the tick labels (0 to 9).
struct AxisDialogValues {
    int autoMin = 1;
    int autoMax = 1;
    int autoMajor = 1;
    float min = 0;
    float max = 0;
    float major = 0;
    int labelDecimals = 2;
};

// What the "Axis Titles" dialog edits.
struct AxisTitlesValues {
    int fontSize = 16;
    int bold = 1;
    std::string xLabel = "X";
    std::string yLabel = "Y";
};

// The axis and title dialogs, shared by the main graph and the modulus graph
// window. Each returns the edited copy on OK and nothing on Cancel.
class GraphDialogPort {
  public:
    virtual ~GraphDialogPort() = default;
    virtual std::optional<AxisDialogValues> askXAxis(const AxisDialogValues& values) = 0;
    virtual std::optional<AxisDialogValues> askYAxis(const AxisDialogValues& values) = 0;
    virtual std::optional<AxisTitlesValues> askAxisTitles(const AxisTitlesValues& values) = 0;
};

}  // namespace mivaro

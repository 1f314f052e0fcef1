#pragma once

#include <optional>
#include <string>

#include "analysis/analysis_settings.h"
#include "platform/dialog_answer.h"

namespace mivaro {

// Action codes of the elastic modulus dialog and its "Advanced " dialog.
enum AnalysisAction : int {
    kActionCancelled = -1,
    kActionModulus = 1,
    kActionSection = 2,
    kActionLoadingRate = 3,
    kActionDisplacementRate = 4,
    kActionEquation = 5,
};

inline constexpr const char* kUnloadingBranchName = "Unloading Curve";
inline constexpr const char* kReloadingBranchName = "Reloading Curve";

// "Elastic Modulus and Poisson's Ratio Calculation": the two read-only fields
// at its top and the values it edits.
struct ModulusDialogValues {
    std::string fileTitle;
    std::string branchName;  // kUnloadingBranchName or kReloadingBranchName
    ModulusSettings settings;
    // "Add to Graph of E(h)" works only while a modulus graph takes the series.
    bool sectionGraphAvailable = true;
};

// Hands back the edited copy with the action of the button that ended the
// dialog (1 "Calculate", 2 to 5 from "Advanced "), nothing on "Cancel".
class ModulusDialogPort {
  public:
    virtual ~ModulusDialogPort() = default;
    virtual std::optional<Acted<ModulusDialogValues>> askModulus(const ModulusDialogValues& values) = 0;
};

// "Advanced ": the section values of the modulus dialog, as typed.
struct AdvancedDialogValues {
    std::string topPercent = "95";
    std::string sectionSizePercent = "15";
    std::string bottomPercent = "20";
    int zeroStartDepth = 0;
    bool sectionGraphAvailable = true;
};

AdvancedDialogValues advancedValuesOf(const ModulusSettings& settings, bool sectionGraphAvailable);
void applyAdvancedValues(ModulusSettings& settings, const AdvancedDialogValues& values);

// "Hardness": hands back the edited copy on OK, nothing on Cancel. The
// values come from "hardness_setup.par" and go back to it on OK.
class HardnessDialogPort {
  public:
    virtual ~HardnessDialogPort() = default;
    virtual std::optional<HardnessSettings> askHardness(const HardnessSettings& settings) = 0;
};

enum LoadingCurveAction : int {
    kLoadingNone = -1,
    kLoadingLabel = 0,
    kLoadingRate = 1,
    kLoadingDisplacementRate = 2,
};

// "Loading Curve ": the label field, filled with the curve's file title.
struct LoadingCurveValues {
    std::string labelText;
};

// Hands back the label as the user left it with the action of the button
// pressed (0 label, 1 loading rate, 2 displacement rate), nothing on "Cancel".
class LoadingCurveDialogPort {
  public:
    virtual ~LoadingCurveDialogPort() = default;
    virtual std::optional<Acted<LoadingCurveValues>> askLoadingCurve(const LoadingCurveValues& values) = 0;
};

}  // namespace mivaro

#pragma once

#include <string>

#include "analysis/analysis_settings.h"
#include "curves/curve_types.h"

namespace mivaro {

// What the result texts and the modulus graph take from the main graph's settings.
struct GraphTextStyle {
    int labelDecimals = 2;
    int fontSize = 16;
    int boldText = 1;
};

// Receives a finished result line; the main view's text list places it with the next click.
class ResultTextSink {
  public:
    virtual ~ResultTextSink() = default;
    virtual void beginTextPlacement(const std::string& text) = 0;
};

// The modulus-versus-depth graph window, as the section analysis uses it.
class ModulusGraphSink {
  public:
    virtual ~ModulusGraphSink() = default;
    virtual int seriesCount() const = 0;
    // Attributes of the slot the next AddSeries fills.
    virtual void setNextSeriesStyle(Rgb colour, int markerStyle, int markerSize) = 0;
    virtual void setBoldText(int bold) = 0;
    virtual void setFontHeight(int heightPx) = 0;
    virtual void AddSeries(const double* x, const double* y, int n) = 0;
    virtual void redrawAndShow() = 0;
};

// Action codes of the elastic modulus dialog and its "Advanced " dialog.
enum AnalysisAction : int {
    kActionCancelled = -1,
    kActionModulus = 1,
    kActionSection = 2,
    kActionLoadingRate = 3,
    kActionDisplacementRate = 4,
    kActionEquation = 5,
};

struct ModulusDialogAnswer {
    ModulusSettings settings;
    int action = kActionCancelled;
};

// "Elastic Modulus and Poisson's Ratio Calculation": opens with the given
// values, returns the edited copy and the action (-1 when cancelled).
class ModulusDialogPort {
  public:
    virtual ~ModulusDialogPort() = default;
    virtual ModulusDialogAnswer askModulus(const std::string& fileTitle, const std::string& branchName,
                                           const ModulusSettings& settings) = 0;
};

struct HardnessDialogAnswer {
    HardnessSettings settings;
    bool accepted = false;
};

// "Hardness": OK returns the edited values, Cancel returns accepted = false.
class HardnessDialogPort {
  public:
    virtual ~HardnessDialogPort() = default;
    virtual HardnessDialogAnswer askHardness(const HardnessSettings& settings) = 0;
};

enum LoadingCurveAction : int {
    kLoadingNone = -1,
    kLoadingLabel = 0,
    kLoadingRate = 1,
    kLoadingDisplacementRate = 2,
};

struct LoadingCurveAnswer {
    std::string labelText;
    int action = kLoadingNone;
};

// "Loading Curve ": the label field starts with the given text.
class LoadingCurveDialogPort {
  public:
    virtual ~LoadingCurveDialogPort() = default;
    virtual LoadingCurveAnswer askLoadingCurve(const std::string& labelText) = 0;
};

}  // namespace mivaro

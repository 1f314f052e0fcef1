#pragma once

#include <string>

#include "analysis/analysis_dialogs.h"
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

// Takes a series and shows nothing: for callers without a modulus graph
// window (the command line reports the series from the flow's outcome).
class NoModulusGraph final : public ModulusGraphSink {
  public:
    int seriesCount() const override { return 0; }
    void setNextSeriesStyle(Rgb, int, int) override {}
    void setBoldText(int) override {}
    void setFontHeight(int) override {}
    void AddSeries(const double*, const double*, int) override {}
    void redrawAndShow() override {}
};

}  // namespace mivaro

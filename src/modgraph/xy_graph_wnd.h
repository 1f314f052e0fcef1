#pragma once

#include <array>
#include <string>

#include "analysis/analysis_ports.h"
#include "modgraph/xy_series.h"
#include "view/drawing_surface.h"
#include "view/graph_settings.h"
#include "view/graph_text_list.h"
#include "view/plot_frame.h"

namespace mivaro {

class ClipboardPort;
class GraphDialogPort;
class MessagePort;
class TextLineDialogPort;

// What the modulus graph asks of the window that shows it.
class XYGraphWindowPort {
  public:
    virtual ~XYGraphWindowPort() = default;
    virtual void requestRepaint() = 0;
    // Shows the window, whether it was hidden or not, and brings it up.
    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
    // Colour of a client pixel as the window displays it now.
    virtual Rgb pixelAt(int x, int y) const = 0;
};

// Collaborators of the window's commands; any may be null (the command then
// does nothing), as in the command line, which only paints.
struct XYGraphPorts {
    XYGraphWindowPort* window = nullptr;
    GraphDialogPort* dialogs = nullptr;
    MessagePort* messages = nullptr;
    TextLineDialogPort* textLine = nullptr;
    ClipboardPort* clipboard = nullptr;
};

// Presentation settings of the modulus graph, kept while the program runs.
struct XYGraphSettings {
    AxisScale x;
    AxisScale y;
    int labelDecimals = 2;  // both axes, 0 to 9
    int majorDivisions = 6;
    std::string xTitle = "nm";
    std::string yTitle = "mN";
    int boldText = 0;
    int fontHeight = 20;  // character cell height of all text, pixels
};

// The modulus graph "XY-Graph": up to ten series on their own axes, the
// window's free text lines and the handling of its mouse and keys. Plain
// logic: the Qt window shows paint() and forwards its events here.
class CXYGraphWnd final : public ModulusGraphSink {
  public:
    static constexpr int kSeriesSlots = 10;
    static constexpr const char* kCaption = "XY-Graph";
    static constexpr const char* kCurveColourHint =
        "This curve color, type and size depends on the\r\nmain screen load-unload curve settings.";
    static constexpr const char* kHintCaption = "Information";
    // The y title the main view gives its modulus graph.
    static constexpr const char* kModulusTitle = "E(GPa)";
    // Initial client size: 383 x 359 dialog units of the 8-point dialog font.
    static constexpr int kDialogUnitsWide = 383;
    static constexpr int kDialogUnitsHigh = 359;

    void setPorts(const XYGraphPorts& ports) { m_ports = ports; }
    const XYGraphPorts& ports() const { return m_ports; }

    // ModulusGraphSink: the hand-over of the section analysis.
    int seriesCount() const override { return m_count; }
    void setNextSeriesStyle(Rgb colour, int markerStyle, int markerSize) override;
    void setBoldText(int bold) override { m_settings.boldText = bold; }
    void setFontHeight(int heightPx) override { m_settings.fontHeight = heightPx; }
    // The eleventh and later calls change nothing.
    void AddSeries(const double* x, const double* y, int n) override;
    void redrawAndShow() override;

    // The one routine that draws the window, on any surface that starts white.
    // Rewrites the automatic ranges and, when the plot fits, the hit boxes.
    void paint(DrawingSurface& surface);
    FontChoice graphFont(int rotationDeg = 0) const;

    // Mouse and keys, as the window receives them (client pixels).
    void rightRelease(int x, int y);
    void leftPress(int x, int y);
    // A typed character (control keys give 3 for Ctrl+C, 20 for Ctrl+T,
    // 26 for Ctrl+Z); every one is consumed.
    void typedCharacter(int code);
    // Enter or Escape: hides, nothing is cleared.
    void endDialog();
    // The close box: series and text lines go, ranges are automatic again;
    // titles, font, precision and typed values stay. Then it hides.
    void closeRequest();

    XYGraphSettings& settings() { return m_settings; }
    const XYGraphSettings& settings() const { return m_settings; }
    const XYSeries& series(int slot) const { return m_series.at(static_cast<std::size_t>(slot)); }
    const PlotLayout& layout() const { return m_layout; }
    GraphTextList& textList() { return m_texts; }
    const GraphTextList& textList() const { return m_texts; }

  private:
    void repaint();
    void editAxis(AxisScale& axis, bool xAxis);
    void editTitles();
    void drawSeries(DrawingSurface& surface, const PlotMapping& map) const;

    XYGraphSettings m_settings;
    std::array<XYSeries, kSeriesSlots> m_series;
    int m_count = 0;
    PlotLayout m_layout;
    GraphTextList m_texts;
    XYGraphPorts m_ports;
};

// Pixels of a dialog-unit size: 4 horizontal units are one average character
// width, 8 vertical units one character height, rounded to the nearest pixel.
struct PixelSize {
    int width = 0;
    int height = 0;
};
PixelSize dialogUnitsToPixels(int unitsWide, int unitsHigh, int charWidthPx, int charHeightPx);
// The initial client size, from the base units of 8-point "MS Sans Serif"
// at 96 dots per inch: 6 x 13 pixels, which gives 575 x 583.
PixelSize initialClientSize();

}  // namespace mivaro

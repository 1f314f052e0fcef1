#pragma once

#include <string>

#include "curves/curve_set.h"
#include "view/drawing_surface.h"
#include "view/graph_settings.h"
#include "view/graph_text_list.h"

namespace mivaro {

// What one paint of the main graph reads from the document.
struct GraphData {
    const CurveSet& curves;
    int nameCount = 0;  // entries of the IndentCurve name list
    std::string xTitle = "nm";
    std::string yTitle = "mN";
};

// The main force-depth graph without any window: its settings, the geometry
// of the last paint and the result text lines. paint() is the one routine
// that draws it, on any surface.
class MainGraph {
  public:
    ViewSettings& settings() { return m_settings; }
    const ViewSettings& settings() const { return m_settings; }
    const PlotLayout& layout() const { return m_layout; }
    GraphTextList& textList() { return m_texts; }
    const GraphTextList& textList() const { return m_texts; }

    // Draws texts, frame and curves; rewrites automatic ranges and the layout.
    void paint(DrawingSurface& surface, const GraphData& data);

    FontChoice graphFont(int rotationDeg = 0) const;

  private:
    ViewSettings m_settings;
    PlotLayout m_layout;
    GraphTextList m_texts;
    int m_lastNameCount = 0;
};

}  // namespace mivaro

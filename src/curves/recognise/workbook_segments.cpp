#include "curves/recognise/workbook_segments.h"

#include "curves/curve_types.h"

namespace mivaro::recognise {

void WorkbookSegments::marker(std::string_view text) {
    if (text.empty()) {
        return;
    }
    const bool afterUnloading = m_current == UNLOAD || m_current == BOTTOM_HOLD;
    if (text == "Load Segment Type") {
        m_current = afterUnloading ? RELOAD : LOAD;
    } else if (text == "Hold Segment Type") {
        m_current = afterUnloading ? BOTTOM_HOLD : TOP_HOLD;
    } else if (text == "Unload From Peak Segment Type" || text == "Unload Segment Type") {
        m_current = UNLOAD;
    } else if (text == "Thermal Drift Hold Segment") {
        // Held at a fraction of the peak on the way down; before any loading it
        // is no segment this reading can name.
        m_current = m_current == NO_SEGMENT ? NO_SEGMENT : BOTTOM_HOLD;
    } else if (text != "END") {
        // Rows after END are data like any other: they keep the open segment.
        m_unknown = true;
    }
}

void WorkbookSegments::point() {
    m_unlettered = m_unlettered || m_current == NO_SEGMENT;
    m_letters += m_current;
}

bool WorkbookSegments::complete() const {
    return !m_unknown && !m_unlettered && !m_letters.empty();
}

}  // namespace mivaro::recognise

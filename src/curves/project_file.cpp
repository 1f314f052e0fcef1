// The project file (.fls): the paths of the curves on screen, one a line.

#include "curves/project_file.h"

#include <ostream>

#include "curves/mivaro_doc.h"

namespace mivaro {

std::vector<std::string> readProjectLines(std::istream& in, std::size_t limit, bool& truncated) {
    std::vector<std::string> lines;
    std::string line;
    bool lineOpen = false;
    truncated = false;
    for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
        if (c == '\r' || c == '\n') {
            if (c == '\r' && in.peek() == '\n') {
                in.get();
            }
            if (lines.size() == limit) {
                truncated = true;
                return lines;
            }
            lines.push_back(line);
            line.clear();
            lineOpen = false;
            continue;
        }
        if (!lineOpen && lines.size() == limit) {
            truncated = true;
            return lines;
        }
        lineOpen = true;
        line.push_back(static_cast<char>(c));
    }
    if (lineOpen) {
        lines.push_back(line);
    }
    return lines;
}

void CMivaro4Doc::storeProject(std::ostream& out) const {
    for (const CurveInfo& curve : m_set.curves) {
        if (!curve.deleted()) {
            out << curve.path << "\r\n";
        }
    }
}

void CMivaro4Doc::loadProject(std::istream& in) {
    bool truncated = false;
    std::vector<std::string> names =
        readProjectLines(in, static_cast<std::size_t>(IndentCurve::kNameCapacity), truncated);

    m_curve.depth.clear();
    m_curve.force.clear();
    m_curve.time.clear();
    m_curve.segment.clear();
    m_set.clear();
    m_curve.names = std::move(names);
    if (truncated) {
        // Dropping the rest silently would look like a complete project.
        m_messages.showMessage("The project lists more than " + std::to_string(IndentCurve::kNameCapacity) +
                                   " curve files; only the first " +
                                   std::to_string(IndentCurve::kNameCapacity) + " are loaded.",
                               "Message");
    }
    rebuildCurveSet();
}

}  // namespace mivaro

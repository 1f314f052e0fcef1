#include "curves/mivaro_doc.h"

#include <algorithm>
#include <new>
#include <utility>

#include "curves/curve_file_dialog.h"
#include "curves/curve_reader.h"
#include "curves/line_reader.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

// Lists paths one a line after a lead text, at most a screenful of them.
std::string listPaths(std::string text, const std::vector<std::string>& paths) {
    constexpr std::size_t kShown = 20;
    for (std::size_t k = 0; k < paths.size() && k < kShown; ++k) {
        text += "\n" + paths[k];
    }
    if (paths.size() > kShown) {
        text += formatC("\n(and %zu more)", paths.size() - kShown);
    }
    return text;
}

}  // namespace

CMivaro4Doc::CMivaro4Doc(std::string settingsDirectory, MessagePort& messages, RepaintPort& repaint)
    : m_messages(messages), m_repaint(repaint) {
    if (!settingsDirectory.empty() && settingsDirectory.back() != '/') {
        settingsDirectory += '/';
    }
    m_curve.settingsDirectory = std::move(settingsDirectory);
    m_curve.names.reserve(IndentCurve::kNameCapacity);
}

void CMivaro4Doc::newDocument() {
    m_set.clear();
    m_curve.names.clear();
    xAxisTitle = "nm";
    yAxisTitle = "mN";
}

void CMivaro4Doc::compactNameList() {
    std::vector<std::string> kept;
    kept.reserve(m_curve.names.size());
    for (std::size_t k = 0; k < m_curve.names.size(); ++k) {
        const bool deleted = k < m_set.curves.size() && m_set.curves[k].deleted();
        if (!deleted) {
            kept.push_back(std::move(m_curve.names[k]));
        }
    }
    m_curve.names = std::move(kept);
}

int CMivaro4Doc::appendPaths(const std::vector<std::string>& paths) {
    std::vector<std::string>& names = m_curve.names;
    int appended = 0;
    std::vector<std::string> leftOut;
    for (const std::string& path : paths) {
        if (std::find(names.begin(), names.end(), path) != names.end()) {
            continue;
        }
        if (m_curve.nameCount() >= IndentCurve::kNameCapacity) {
            leftOut.push_back(path);
            continue;
        }
        names.push_back(path);
        ++appended;
    }
    if (!leftOut.empty()) {
        m_messages.showMessage(
            listPaths(formatC("The list holds at most %d curve files; %zu file(s) were not added:",
                              IndentCurve::kNameCapacity, leftOut.size()),
                      leftOut),
            "Message", MessageButtons::Ok);
    }
    return appended;
}

void CMivaro4Doc::rebuildCurveSet() {
    // Out of memory midway, the set on screen and its name list stay as they were.
    CurveSet previous = std::move(m_set);
    std::vector<std::string> previousNames = m_curve.names;
    m_set.clear();
    try {
        readCurvesOfNameList();
    } catch (const std::bad_alloc&) {
        m_set = std::move(previous);
        m_curve.names = std::move(previousNames);
        throw;
    }
}

void CMivaro4Doc::readCurvesOfNameList() {
    std::vector<std::string>& names = m_curve.names;

    // The per-curve arrays hold kCurveCapacity curves; later files stay out
    // of the set and the list, and the user is told which.
    std::vector<std::string> leftOut;
    if (names.size() > static_cast<std::size_t>(CurveSet::kCurveCapacity)) {
        leftOut.assign(names.begin() + CurveSet::kCurveCapacity, names.end());
        names.resize(CurveSet::kCurveCapacity);
    }

    std::vector<int> dataLines;
    dataLines.reserve(names.size());
    long long bound = 0;
    for (const std::string& path : names) {
        dataLines.push_back(countDataLines(path));
        bound += dataLines.back();
    }
    const auto reserved = static_cast<std::size_t>(std::min<long long>(bound, 1LL << 31));
    m_set.segment.reserve(reserved);
    m_set.time.reserve(reserved);
    m_set.force.reserve(reserved);
    m_set.depth.reserve(reserved);
    m_set.curveIndex.reserve(reserved);
    m_set.colour.reserve(reserved);
    m_set.curves.reserve(names.size());

    m_unreadable.clear();
    std::vector<std::string> notOpened;
    // A file with a column error (reported by the reader) is left out of the
    // set and the list; the curves of every other entry stay.
    std::size_t kept = 0;
    for (std::size_t k = 0; k < names.size(); ++k) {
        const std::string& path = names[k];
        std::string why;
        const ReadOutcome outcome = readCurveFile(m_curve, path, m_messages, dataLines[k], &why);
        if (outcome == ReadOutcome::ColumnError) {
            continue;
        }
        // An empty entry (an empty project line) is an empty curve, not a file to name.
        if (outcome == ReadOutcome::NotOpened && !path.empty()) {
            notOpened.push_back(path + " (" + why + ")");
            m_unreadable.push_back({path, why});
        }
        appendCurvePoints();
        CurveInfo info;
        info.path = path;
        m_set.curves.push_back(std::move(info));
        if (kept != k) {
            names[kept] = std::move(names[k]);
        }
        ++kept;
    }
    names.resize(kept);

    if (!notOpened.empty() && m_listsUnreadable) {
        m_messages.showMessage(listPaths("These curve files could not be read:", notOpened), "Error",
                               MessageButtons::Ok);
    }
    if (!leftOut.empty()) {
        m_messages.showMessage(listPaths(formatC("At most %d curves can be shown; %zu file(s) were left out:",
                                                 CurveSet::kCurveCapacity, leftOut.size()),
                                         leftOut),
                               "Message", MessageButtons::Ok);
    }
    m_repaint.requestRepaint(true);
}

void CMivaro4Doc::loadStandardCurveBytes(const std::string& name, std::string_view bytes) {
    m_set.clear();
    m_curve.names = {name};
    m_curve.columnSetup = kStandardColumnSetup;
    readCurveBytes(m_curve, bytes, m_messages);
    m_curve.currentFilePath = name;
    appendCurvePoints();
    CurveInfo info;
    info.path = name;
    m_set.curves.push_back(std::move(info));
    m_repaint.requestRepaint(true);
}

// Appends the points of the IndentCurve to the CurveSet as the next curve;
// per-point colours start black.
void CMivaro4Doc::appendCurvePoints() {
    const int curve = m_set.curveCount();
    const std::size_t first = m_set.depth.size();
    const std::size_t n = m_curve.depth.size();
    m_set.segment.insert(m_set.segment.end(), m_curve.segment.begin(), m_curve.segment.end());
    m_set.time.resize(first + n);
    m_set.force.resize(first + n);
    m_set.depth.resize(first + n);
    for (std::size_t i = 0; i < n; ++i) {
        m_set.time[first + i] = static_cast<float>(m_curve.time[i]);
        m_set.force[first + i] = static_cast<float>(m_curve.force[i]);
        m_set.depth[first + i] = static_cast<float>(m_curve.depth[i]);
    }
    m_set.curveIndex.resize(first + n, curve);
    m_set.colour.resize(first + n, 0);
}

void CMivaro4Doc::deleteCurve(int curve) {
    if (curve < 0 || curve >= m_set.curveCount()) {
        return;
    }
    m_set.curves[static_cast<std::size_t>(curve)].size = -1;
    const auto first = static_cast<std::ptrdiff_t>(m_set.firstPointOf(curve));
    const auto last = static_cast<std::ptrdiff_t>(m_set.endPointOf(curve));
    const auto erase = [&](auto& array) { array.erase(array.begin() + first, array.begin() + last); };
    erase(m_set.segment);
    erase(m_set.time);
    erase(m_set.force);
    erase(m_set.depth);
    erase(m_set.curveIndex);
    erase(m_set.colour);
}

void CMivaro4Doc::onOpenMvr(FileDialogPort& dialogs) {
    compactNameList();
    m_curve.offerStandardFiles = true;
    const auto chosen = dialogs.chooseFilesToOpen(curveFileDialogRequest(m_curve.offerStandardFiles));
    if (!chosen) {
        m_curve.fileDialogAccepted = false;
        return;
    }
    m_curve.fileDialogAccepted = true;
    m_curve.currentFilePath.clear();
    appendPaths(*chosen);
    rebuildCurveSet();
}

}  // namespace mivaro

#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "curves/curve_set.h"
#include "curves/import_preview.h"
#include "curves/indent_curve.h"
#include "platform/file_dialog_port.h"
#include "platform/message_port.h"
#include "platform/repaint_port.h"

namespace mivaro {

// The document: the working IndentCurve, the CurveSet built from its name
// list, and the two axis titles. Plain C++; the Qt frame drives it.
class CMivaro4Doc {
  public:
    CMivaro4Doc(std::string settingsDirectory, MessagePort& messages, RepaintPort& repaint);

    IndentCurve& indentCurve() { return m_curve; }
    const IndentCurve& indentCurve() const { return m_curve; }
    CurveSet& curveSet() { return m_set; }
    const CurveSet& curveSet() const { return m_set; }
    // The import setup dialog's values, kept from one import to the next.
    ImportDialogState& importState() { return m_importState; }

    std::string xAxisTitle = "nm";
    std::string yAxisTitle = "mN";

    // New document: no curves, no points, no names, default axis titles.
    void newDocument();

    // Drops the paths of deleted curves from the name list, keeping order.
    void compactNameList();

    // Appends paths to the name list as the curve file dialog does: exact
    // duplicates are skipped, nothing beyond the capacity is taken (the user
    // is told what was left out). Returns the number of paths appended.
    int appendPaths(const std::vector<std::string>& paths);

    // Reads every file of the name list again and rebuilds the CurveSet,
    // then asks for a repaint. Files that could not be read, and curves beyond
    // the CurveSet's capacity, are reported in one message. A file with a
    // column error (reported by the reader) leaves the list; the rest load.
    void rebuildCurveSet();

    struct UnreadableFile {
        std::string path;
        std::string reason;  // a few words, no full stop
    };
    // The files the last rebuild could not read, with why.
    const std::vector<UnreadableFile>& unreadableFiles() const { return m_unreadable; }
    // The command line reports unreadable files one a line itself; the window
    // lists them in one message box (the default).
    void setListsUnreadableFiles(bool lists) { m_listsUnreadable = lists; }

    // One curve held in memory as the bytes of a standard curve file, in place
    // of the name list and the CurveSet, as if a file of that name were opened.
    void loadStandardCurveBytes(const std::string& name, std::string_view bytes);

    // Removes a curve's points and marks it deleted (size -1).
    void deleteCurve(int curve);

    // "Open .MVR": compact, choose standard curve files, rebuild.
    void onOpenMvr(FileDialogPort& dialogs);

    // Project file (.fls): one path per curve that is not deleted.
    void storeProject(std::ostream& out) const;
    void loadProject(std::istream& in);

    MessagePort& messages() { return m_messages; }
    RepaintPort& repaint() { return m_repaint; }

  private:
    void readCurvesOfNameList();
    void appendCurvePoints();

    MessagePort& m_messages;
    RepaintPort& m_repaint;
    IndentCurve m_curve;
    CurveSet m_set;
    ImportDialogState m_importState;
    std::vector<UnreadableFile> m_unreadable;
    bool m_listsUnreadable = true;
};

}  // namespace mivaro

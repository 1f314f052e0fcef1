#pragma once

#include <functional>
#include <string>

#include "app/recent_file_list.h"
#include "curves/mivaro_doc.h"
#include "platform/file_dialog_port.h"
#include "platform/message_port.h"

namespace mivaro {

// The document's life as a project (.fls): its own project path, New, the
// open roads (command line, dropped files, shell, "Open Project") and the two
// save commands. The document is never marked modified, so nothing here ever
// asks to save.
class ProjectSession {
  public:
    static constexpr const char* kApplicationTitle = "Tavimo";
    static constexpr const char* kUntitled = "Untitled";

    ProjectSession(CMivaro4Doc& doc, MessagePort& messages, RecentFileList& recent);

    const std::string& projectPath() const { return m_projectPath; }

    // "Untitled - Tavimo" or "name.fls - Tavimo": the title the frame gets
    // whenever the document is renewed or its project path changes.
    std::string frameTitle() const;

    // Told after New, an open through the document open operation and a
    // save that set a new project path.
    std::function<void()> onTitleChanged;
    // Told when the recent-file list changed (the profile keeps it).
    std::function<void()> onRecentFilesChanged;

    void newDocument();

    // The document open operation: loads the project and makes it the
    // document's project path. A file that cannot be read is reported and
    // leaves the document as it was; returns false then.
    bool openDocument(const std::string& path);

    // "Open Project": loads a chosen project but keeps the project path.
    void openProject(FileDialogPort& dialogs);

    // "&Save Project": to the project path, asking for a name when there is none.
    bool save(FileDialogPort& dialogs);
    // "Save Project As...".
    bool saveAs(FileDialogPort& dialogs);
    // Writes the project to `path`; the previous file survives any failure.
    bool writeProject(const std::string& path);

  private:
    bool loadFrom(const std::string& path);
    void setProjectPath(const std::string& path);
    void remember(const std::string& path);

    CMivaro4Doc& m_doc;
    MessagePort& m_messages;
    RecentFileList& m_recent;
    std::string m_projectPath;
};

}  // namespace mivaro

#include "app/project_session.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "platform/input_file.h"
#include "platform/safe_file_write.h"

namespace mivaro {

namespace {

SaveFileRequest projectSaveRequest(const std::string& initialPath) {
    SaveFileRequest request;
    request.title = "Save As";
    request.filters = {{"Tavimo Files (*.fls)", {"*.fls"}}};
    request.defaultExtension = ".fls";
    request.initialPath = initialPath;
    return request;
}

}  // namespace

ProjectSession::ProjectSession(CMivaro4Doc& doc, MessagePort& messages, RecentFileList& recent)
    : m_doc(doc), m_messages(messages), m_recent(recent) {}

std::string ProjectSession::frameTitle() const {
    const std::string name =
        m_projectPath.empty() ? kUntitled : std::filesystem::path(m_projectPath).filename().string();
    return name + " - " + kApplicationTitle;
}

void ProjectSession::newDocument() {
    m_doc.newDocument();
    m_projectPath.clear();
    m_doc.repaint().requestRepaint(true);
    if (onTitleChanged) {
        onTitleChanged();
    }
}

bool ProjectSession::loadFrom(const std::string& path) {
    // 2000 paths of any sensible length; a bigger file is no project and must not fill the memory.
    constexpr std::size_t kProjectLimit = std::size_t{16} << 20;
    std::string reason;
    InputFile input = openInputFile(path, kProjectLimit, reason);
    std::string bytes = std::move(input.bytes);
    if (input.file != nullptr) {
        char block[1 << 14];
        std::size_t got = 0;
        while (bytes.size() <= kProjectLimit && (got = std::fread(block, 1, sizeof block, input.file)) > 0) {
            bytes.append(block, got);
        }
        input.opened = std::ferror(input.file) == 0 && bytes.size() <= kProjectLimit;
        std::fclose(input.file);
    }
    if (!input.opened) {
        m_messages.showMessage("Cannot open the project file \"" + path + "\".", kApplicationTitle);
        return false;
    }
    std::istringstream in(bytes);
    m_doc.loadProject(in);
    return true;
}

bool ProjectSession::openDocument(const std::string& path) {
    if (!loadFrom(path)) {
        return false;
    }
    setProjectPath(path);
    remember(path);
    return true;
}

void ProjectSession::openProject(FileDialogPort& dialogs) {
    OpenFileRequest request;
    request.title = "Open";
    request.filters = {{"fls Files (*.fls)", {"*.fls"}}};
    request.defaultExtension = "fls";
    request.multiSelect = false;
    const auto chosen = dialogs.chooseFilesToOpen(request);
    if (!chosen || chosen->empty()) {
        return;
    }
    loadFrom(chosen->front());
}

bool ProjectSession::save(FileDialogPort& dialogs) {
    if (m_projectPath.empty()) {
        return saveAs(dialogs);
    }
    return writeProject(m_projectPath);
}

bool ProjectSession::saveAs(FileDialogPort& dialogs) {
    // An unnamed project is offered under the document's title.
    const auto chosen = dialogs.chooseFileToSave(
        projectSaveRequest(m_projectPath.empty() ? std::string(kUntitled) + ".fls" : m_projectPath));
    if (!chosen || chosen->empty()) {
        return false;
    }
    if (!writeProject(*chosen)) {
        return false;
    }
    setProjectPath(*chosen);
    return true;
}

bool ProjectSession::writeProject(const std::string& path) {
    // A line break inside a path would come back as two entries: refuse
    // rather than write a project that loads something else.
    for (const CurveInfo& curve : m_doc.curveSet().curves) {
        if (!curve.deleted() && curve.path.find_first_of("\r\n") != std::string::npos) {
            m_messages.showMessage(
                "The project was not saved. This curve file path holds a line break and "
                "cannot be listed in a project:\n" +
                    curve.path,
                kApplicationTitle);
            return false;
        }
    }
    std::string error;
    if (!saveFileSafely(
            path, [this](std::ostream& out) { m_doc.storeProject(out); }, error)) {
        m_messages.showMessage("The project was not saved. " + error + " Any previous file is unchanged.",
                               kApplicationTitle);
        return false;
    }
    remember(path);
    return true;
}

void ProjectSession::setProjectPath(const std::string& path) {
    m_projectPath = path;
    if (onTitleChanged) {
        onTitleChanged();
    }
}

void ProjectSession::remember(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    m_recent.add(ec ? path : absolute.lexically_normal().string());
    if (onRecentFilesChanged) {
        onRecentFilesChanged();
    }
}

}  // namespace mivaro

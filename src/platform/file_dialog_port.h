#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mivaro {

struct FileFilter {
    std::string description;            // "Standard Curve Files (*.MVR)"
    std::vector<std::string> patterns;  // {"*.MVR"}
};

struct OpenFileRequest {
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultExtension;
    bool multiSelect = false;
};

struct SaveFileRequest {
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultExtension;
    std::string initialPath;
};

// Common file dialogs. An empty optional means the user cancelled.
class FileDialogPort {
  public:
    virtual ~FileDialogPort() = default;
    virtual std::optional<std::vector<std::string>> chooseFilesToOpen(const OpenFileRequest& request) = 0;
    virtual std::optional<std::string> chooseFileToSave(const SaveFileRequest& request) = 0;
};

}  // namespace mivaro

#include "app/cli/cli_common.h"

#include <cstdio>

namespace mivaro::cli {

MessageAnswer StderrMessages::showMessage(const std::string& text, const std::string& caption,
                                          MessageButtons buttons) {
    m_shown = true;
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

std::string asSettingsDirectory(const std::string& directory) {
    if (directory.empty()) {
        return "./";
    }
    return directory.back() == '/' ? directory : directory + "/";
}

std::unique_ptr<LoadedDocument> loadDocument(const std::string& settingsDirectory,
                                             const std::vector<std::string>& files) {
    auto loaded = std::make_unique<LoadedDocument>();
    loaded->doc = std::make_unique<CMivaro4Doc>(asSettingsDirectory(settingsDirectory), loaded->messages,
                                                loaded->repaint);
    loaded->doc->appendPaths(files);
    loaded->doc->rebuildCurveSet();
    return loaded;
}

}  // namespace mivaro::cli

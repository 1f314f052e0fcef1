#pragma once

#include <QStringList>
#include <memory>
#include <string>

#include "app/qt/main_frame.h"
#include "app/recent_file_list.h"

namespace mivaro {

// The application object: the user profile, start-up with its command line,
// and the application's own commands (New, About, Print Setup, Exit).
class CMivaroApp {
  public:
    static constexpr const char* kProfileRoot = "Local AppWizard-Generated Applications";
    static constexpr const char* kProfileName = "Tavimo";
    static constexpr const char* kWindowTitle = "Mivaro 6.1";
    static constexpr int kWindowWidth = 1000;
    static constexpr int kWindowHeight = 700;

    // settingsDirectory: the working directory at start-up, ending with '/'.
    explicit CMivaroApp(const FramePorts& ports = {}, std::string settingsDirectory = {});
    ~CMivaroApp();

    // Start-up: no file opens a new, empty document; one file is opened as a
    // project before the window first shows. A file that cannot be opened is
    // reported and start-up fails (the caller then ends the program).
    bool initInstance(const QStringList& files);

    CMainFrame* mainFrame() const { return m_frame.get(); }
    const RecentFileList& recentFiles() const { return m_recent; }

  private:
    void loadProfile();
    void saveRecentFiles() const;
    void addApplicationHandlers();

    FramePorts m_ports;
    std::string m_settingsDirectory;
    RecentFileList m_recent;
    std::unique_ptr<CMainFrame> m_frame;
};

// The working directory with '/' appended: where the .par files live.
std::string currentSettingsDirectory();

}  // namespace mivaro

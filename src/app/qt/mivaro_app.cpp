#include "app/qt/mivaro_app.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <filesystem>
#include <utility>

#include "app/command_ids.h"

namespace mivaro {

namespace {

constexpr const char* kRecentGroup = "Recent File List";

QSettings profile() {
    return QSettings(CMivaroApp::kProfileRoot, CMivaroApp::kProfileName);
}

}  // namespace

std::string currentSettingsDirectory() {
    std::error_code ec;
    std::string directory = std::filesystem::current_path(ec).string();
    if (ec || directory.empty()) {
        return "./";
    }
    return directory.back() == '/' ? directory : directory + "/";
}

CMivaroApp::CMivaroApp(const FramePorts& ports, std::string settingsDirectory)
    : m_ports(ports),
      m_settingsDirectory(settingsDirectory.empty() ? currentSettingsDirectory()
                                                    : std::move(settingsDirectory)) {}

CMivaroApp::~CMivaroApp() = default;

void CMivaroApp::loadProfile() {
    QSettings settings = profile();
    settings.beginGroup(kRecentGroup);
    std::vector<std::string> entries;
    for (int i = 1; i <= RecentFileList::kCapacity; ++i) {
        entries.push_back(settings.value(QString("File%1").arg(i)).toString().toStdString());
    }
    m_recent = RecentFileList(entries);
}

void CMivaroApp::saveRecentFiles() const {
    QSettings settings = profile();
    settings.remove(kRecentGroup);
    settings.beginGroup(kRecentGroup);
    int index = 1;
    for (const std::string& entry : m_recent.entries()) {
        settings.setValue(QString("File%1").arg(index++), QString::fromStdString(entry));
    }
}

void CMivaroApp::addApplicationHandlers() {
    CMainFrame& frame = *m_frame;
    CommandRouter& router = frame.router();
    // The file-open command reaches the application too, but the document
    // takes it first; the router's order keeps it that way.
    router.add(CommandTarget::Application, command::FileNew, [&frame] { frame.session().newDocument(); });
    router.add(CommandTarget::Application, command::AppAbout, [&frame] { frame.dialogs().showAbout(); });
    router.add(CommandTarget::Application, command::AppExit, [&frame] { frame.close(); });
    frame.updateCommandStates();
}

bool CMivaroApp::initInstance(const QStringList& files) {
    loadProfile();
    m_frame = std::make_unique<CMainFrame>(m_settingsDirectory, m_recent, m_ports);
    m_frame->session().onRecentFilesChanged = [this] { saveRecentFiles(); };
    addApplicationHandlers();

    if (files.isEmpty()) {
        m_frame->session().newDocument();
    } else if (!m_frame->session().openDocument(files.constFirst().toStdString())) {
        return false;
    }

    m_frame->showNormal();
    m_frame->move(0, 0);
    m_frame->resize(kWindowWidth, kWindowHeight);
    m_frame->setWindowTitle(kWindowTitle);
    // 1000 x 700 is the size of the whole window; once the window manager
    // has put its frame around it, take the frame off the inside.
    QTimer::singleShot(0, m_frame.get(), [frame = m_frame.get()] {
        const QSize frameExtra = frame->frameGeometry().size() - frame->geometry().size();
        if (frameExtra.width() > 0 || frameExtra.height() > 0) {
            frame->resize(QSize(kWindowWidth, kWindowHeight) - frameExtra);
        }
    });
    return true;
}

}  // namespace mivaro

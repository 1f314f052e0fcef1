#pragma once

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <deque>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/app_dialogs.h"
#include "app/qt/mivaro_app.h"
#include "platform/file_dialog_port.h"
#include "platform/message_port.h"
#include "platform/shell_port.h"
#include "view/text_line_dialog_port.h"

namespace mivaro::test {

// Records every message; answers Yes/No questions from a script (No when
// the script is empty).
class ScriptedMessages final : public MessagePort {
  public:
    struct Shown {
        std::string text;
        std::string caption;
        MessageButtons buttons;
    };
    MessageAnswer showMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons) override {
        shown.push_back({text, caption, buttons});
        if (buttons == MessageButtons::Ok) {
            return MessageAnswer::Ok;
        }
        if (answers.empty()) {
            return MessageAnswer::No;
        }
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<Shown> shown;
    std::deque<MessageAnswer> answers;
};

// Records the requests; answers from scripts (cancel when empty).
class ScriptedFileDialogs final : public FileDialogPort {
  public:
    std::optional<std::vector<std::string>> chooseFilesToOpen(const OpenFileRequest& request) override {
        openRequests.push_back(request);
        if (openAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> chooseFileToSave(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        if (saveAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    std::vector<OpenFileRequest> openRequests;
    std::vector<SaveFileRequest> saveRequests;
    std::deque<std::vector<std::string>> openAnswers;
    std::deque<std::string> saveAnswers;
};

class RecordingShell final : public ShellPort {
  public:
    void openFileWithDesktop(const std::string& program, const std::string& fileArgument) override {
        launches.push_back({program, fileArgument});
    }
    void openUrl(const std::string& url) override { urls.push_back(url); }
    std::vector<std::pair<std::string, std::string>> launches;
    std::vector<std::string> urls;
};

class ScriptedAppDialogs final : public AppDialogs {
  public:
    DialogAction editMachineSetup(MachineSetupValues& values) override {
        shownSetupValues.push_back(values.forceInstabilityMn);
        if (!setupAnswer) {
            return DialogAction::Cancel;
        }
        values.forceInstabilityMn = *setupAnswer;
        return DialogAction::Ok;
    }
    void showSetupHelpScreen() override { ++setupHelpShown; }
    void showAbout() override { ++aboutShown; }

    std::vector<float> shownSetupValues;
    std::optional<float> setupAnswer;
    int setupHelpShown = 0;
    int aboutShown = 0;
};

class ScriptedTextLine final : public TextLineDialogPort {
  public:
    bool askTextLine(std::string& text) override {
        ++asked;
        text = "typed";
        return true;
    }
    int asked = 0;
};

// Qt Test's own profile location, emptied: runs never see each other's
// recent files, nor the user's.
inline bool useEmptyTestProfile() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings profile(CMivaroApp::kProfileRoot, CMivaroApp::kProfileName);
    profile.clear();
    profile.sync();
    return profile.fileName().contains(".qttest");
}

// The whole program on fakes, with a scratch settings directory.
struct AppHarness {
    bool testProfile = useEmptyTestProfile();
    QTemporaryDir dir;
    ScriptedMessages messages;
    ScriptedFileDialogs files;
    RecordingShell shell;
    ScriptedAppDialogs dialogs;
    CMivaroApp app{FramePorts{&messages, &files, &shell, &dialogs}, settingsDirectory()};

    std::string settingsDirectory() const { return dir.path().toStdString() + "/"; }
    std::string path(const std::string& name) const { return settingsDirectory() + name; }
    CMainFrame& frame() { return *app.mainFrame(); }

    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }
    // A small standard curve file: loading, hold and unloading.
    std::string writeCurve(const std::string& name) const {
        return write(name,
                     "Depth(um),Force(mN),Time(s),Segment\n"
                     "0.0,0.0,0,LOAD\n0.1,5.0,1,LOAD\n0.2,10.0,2,TOP_HOLD\n"
                     "0.21,10.0,3,TOP_HOLD\n0.15,2.0,4,UNLOAD\n0.12,0.0,5,UNLOAD\n");
    }
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace mivaro::test

#include "app/help_commands.h"

#include <filesystem>

#include "curves/settings_files.h"
#include "platform/safe_file_write.h"

namespace mivaro {

void openHelpFile(const std::string& workingDirectory, std::string_view shippedHelpText, ShellPort& shell) {
    const std::filesystem::path helpPath = std::filesystem::path(workingDirectory) / kHelpFileName;
    std::error_code ec;
    if (!std::filesystem::exists(helpPath, ec) && !shippedHelpText.empty()) {
        // Best effort: an unwritable directory simply leaves the opener to
        // report the missing file, as a missing editor would.
        writeFileAtomically(helpPath.string(), std::string(shippedHelpText));
    }
    shell.openFileWithDesktop(kHelpEditor, kHelpFileName);
}

void offerDownload(MessagePort& messages, ShellPort& shell) {
    const MessageAnswer answer = messages.showMessage(
        "Would you like to download the latest version of this software from the Internet?", "Korvex Tavimo",
        MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) {
        shell.openUrl(kDownloadUrl);
    }
}

void runIndentationSetup(const std::string& settingsDirectory, AppDialogs& dialogs) {
    MachineSetupValues values;
    float stored = values.forceInstabilityMn;
    if (readForceInstability(settingsDirectory, stored)) {
        values.forceInstabilityMn = stored;
    }
    if (dialogs.editMachineSetup(values) == DialogAction::Ok) {
        writeForceInstability(settingsDirectory, values.forceInstabilityMn);
    }
}

}  // namespace mivaro

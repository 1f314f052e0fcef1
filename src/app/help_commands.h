#pragma once

#include <string>
#include <string_view>

#include "app/app_dialogs.h"
#include "platform/message_port.h"
#include "platform/shell_port.h"

namespace mivaro {

inline constexpr const char* kHelpFileName = "HelpTavimo.rtf";
// The desktop's opener; it gets the help file's name as its only argument.
inline constexpr const char* kHelpEditor = "xdg-open";
inline constexpr const char* kDownloadUrl = "https://mivaro.example.net/mivaro/index.html";

// "Help (HelpTavimo.rtf)": the file lives in the working directory, where the
// user may edit it. A missing one is written there from the copy shipped with
// the program (never overwritten), then the desktop opens it by name.
void openHelpFile(const std::string& workingDirectory, std::string_view shippedHelpText, ShellPort& shell);

// "Download the latest version": asks, and only on Yes opens the page.
void offerDownload(MessagePort& messages, ShellPort& shell);

// "Indentation Setup": shows the force instability read from "setup.par"
// (0.5 when there is none) and writes it back on OK.
void runIndentationSetup(const std::string& settingsDirectory, AppDialogs& dialogs);

}  // namespace mivaro

#pragma once

#include "platform/file_dialog_port.h"

namespace mivaro {

// The multi-select curve file dialog shared by the open and import commands:
// standard curve files when offerStandardFiles, import files otherwise.
OpenFileRequest curveFileDialogRequest(bool offerStandardFiles);

}  // namespace mivaro

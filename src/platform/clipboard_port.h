#pragma once

#include "platform/message_port.h"

namespace mivaro {

// The system clipboard, as the copy commands use it. The Qt layer binds one to
// a window and puts that window's client area, as displayed, on the clipboard
// as one bitmap; tests count the calls.
class ClipboardPort {
  public:
    virtual ~ClipboardPort() = default;
    // false when no picture could be taken or the clipboard refused it.
    virtual bool copyClientArea() = 0;
};

// The Copy command of every graph window: copy, then tell the user. The
// message appears whether or not the clipboard took the picture, as users of
// the earlier versions expect.
inline void copyWindowToClipboard(ClipboardPort& clipboard, MessagePort& messages) {
    clipboard.copyClientArea();
    messages.showMessage("Copied to clipboard...", "Message");
}

}  // namespace mivaro

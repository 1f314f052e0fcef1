#include "app/qt/x11_lock_state.h"

#include <QGuiApplication>

// Xlib's macros (KeyRelease, Success, ...) clash with Qt names: include it
// last, in this file only.
#ifdef MIVARO_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace mivaro {

bool queryX11LockState(bool& caps, bool& num, bool& scroll) {
#ifdef MIVARO_HAVE_X11
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->display() == nullptr) {
        return false;
    }
    unsigned int indicators = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &indicators) != Success) {
        return false;
    }
    // The usual indicator order of X keyboards: Caps, Num, Scroll.
    caps = (indicators & 0x1U) != 0;
    num = (indicators & 0x2U) != 0;
    scroll = (indicators & 0x4U) != 0;
    return true;
#else
    (void)caps;
    (void)num;
    (void)scroll;
    return false;
#endif
}

}  // namespace mivaro

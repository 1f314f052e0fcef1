#pragma once

namespace mivaro {

// Asks the X server for the Caps, Num and Scroll Lock lights; false when the
// program does not run on X (or was built without it).
bool queryX11LockState(bool& caps, bool& num, bool& scroll);

}  // namespace mivaro

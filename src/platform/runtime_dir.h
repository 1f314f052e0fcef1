#pragma once

namespace mivaro {

// Qt wants a private runtime folder (XDG_RUNTIME_DIR) and warns on standard
// error when there is none, as in a service or a container. When the
// environment gives no usable one, this makes /tmp/mivaro-runtime-UID (mode
// 0700, owned by the user) and names it in the environment. Call it before
// the Qt application object is made.
void ensureRuntimeDirectory();

}  // namespace mivaro

#include "platform/runtime_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace mivaro {
namespace {

// Qt's own test: a folder of this user with no access for others.
bool usable(const char* path) {
    struct stat info {};
    return path != nullptr && *path != '\0' && ::lstat(path, &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700;
}

}  // namespace

void ensureRuntimeDirectory() {
    if (usable(std::getenv("XDG_RUNTIME_DIR"))) {
        return;
    }
    const std::string folder = "/tmp/mivaro-runtime-" + std::to_string(::geteuid());
    ::mkdir(folder.c_str(), 0700);
    if (usable(folder.c_str())) {
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
}

}  // namespace mivaro

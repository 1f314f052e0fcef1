#include "platform/safe_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace mivaro {

namespace {

std::string reasonOf(int errorNumber) {
    return std::strerror(errorNumber);
}

}  // namespace

bool saveFileSafely(const std::string& requestedPath, const std::function<void(std::ostream&)>& write,
                    std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Through a symbolic link to the file it names: renaming over the link
    // would replace the link and leave its file stale.
    std::string path = requestedPath;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        const fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec) {
            path = resolved.string();
        }
    }
    const fs::file_status target = fs::status(path, ec);
    if (fs::is_directory(target)) {
        error = "\"" + path + "\" is a folder.";
        return false;
    }
    // A new file gets the permissions any program's new file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    if (fs::exists(target)) {
        // Renaming over a read-only file would succeed; the user made it
        // read-only to keep it, so refuse as an editor would.
        if (::access(path.c_str(), W_OK) != 0) {
            error = "\"" + path + "\" cannot be replaced: " + reasonOf(errno) + ".";
            return false;
        }
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            mode = info.st_mode & 07777;
        }
    }

    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = "\"" + path + "\" cannot be written: " + reasonOf(errno) + ".";
        return false;
    }
    ::fchmod(fd, mode);
    ::close(fd);
    const std::string temporary(name.data());

    bool written = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) {
            write(out);
            out.flush();
            written = static_cast<bool>(out);
            out.close();
            written = written && !out.fail();
        }
    }
    if (!written) {
        const int saved = errno;
        std::remove(temporary.c_str());
        error = "\"" + path + "\" cannot be written: " + reasonOf(saved) + ".";
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        std::remove(temporary.c_str());
        error = "\"" + path + "\" cannot be replaced: " + reasonOf(saved) + ".";
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    text.clear();
    char block[4096];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        text.append(block, got);
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

bool writeFileAtomically(const std::string& path, const std::string& text) {
    std::string ignoredReason;
    return saveFileSafely(
        path,
        [&text](std::ostream& out) { out.write(text.data(), static_cast<std::streamsize>(text.size())); },
        ignoredReason);
}

}  // namespace mivaro

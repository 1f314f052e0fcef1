#include "platform/safe_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <streambuf>
#include <vector>

#include "platform/input_file.h"

namespace mivaro {

namespace {

std::string reasonOf(int errorNumber) {
    return std::strerror(errorNumber);
}

// An output stream buffer straight over a descriptor, remembering the first
// error of write(2) so the user can be told why.
class DescriptorBuffer final : public std::streambuf {
  public:
    explicit DescriptorBuffer(int fd) : m_fd(fd), m_buffer(1 << 16) {
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    }
    int error() const { return m_error; }

  protected:
    int_type overflow(int_type c) override {
        if (!drain()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return drain() ? 0 : -1; }

  private:
    bool drain() {
        const char* p = pbase();
        const char* const end = pptr();
        while (m_error == 0 && p < end) {
            const ssize_t done = ::write(m_fd, p, static_cast<std::size_t>(end - p));
            if (done < 0 && errno != EINTR) {
                m_error = errno;
            } else if (done > 0) {
                p += done;
            }
        }
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
        return m_error == 0;
    }

    int m_fd;
    std::vector<char> m_buffer;
    int m_error = 0;
};

// Runs the writer over fd; 0 when everything was written, else the errno.
int writeAll(int fd, const std::function<void(std::ostream&)>& write) {
    DescriptorBuffer buffer(fd);
    std::ostream out(&buffer);
    write(out);
    out.flush();
    if (buffer.error() != 0) {
        return buffer.error();
    }
    return out ? 0 : EIO;
}

// Temporary files being written, for the signal handler. A slot is armed
// only once its path is complete, so the handler never reads a half-copied name.
constexpr int kSlots = 8;
constexpr std::size_t kSlotPath = 4096;
struct PendingTemporary {
    std::atomic<int> state{0};  // 0 free, 1 being filled or emptied, 2 armed
    char path[kSlotPath];
};
PendingTemporary g_pending[kSlots];

int armTemporary(const std::string& path) {
    if (path.size() >= kSlotPath) {
        return -1;
    }
    for (int k = 0; k < kSlots; ++k) {
        int expected = 0;
        if (g_pending[k].state.compare_exchange_strong(expected, 1)) {
            std::memcpy(g_pending[k].path, path.c_str(), path.size() + 1);
            g_pending[k].state.store(2);
            return k;
        }
    }
    return -1;
}

void disarmTemporary(int slot) {
    if (slot >= 0) {
        g_pending[slot].state.store(1);
        g_pending[slot].state.store(0);
    }
}

extern "C" void removeTemporariesAndRaise(int signal) {
    for (PendingTemporary& pending : g_pending) {
        if (pending.state.load() == 2) {
            ::unlink(pending.path);
        }
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The descriptor a name such as /dev/stdout or /proc/self/fd/1 stands for,
// or -1. Writing into it keeps its position and append mode.
int ownDescriptorOf(const std::string& path) {
    const std::string ownProc = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (const std::string& prefix : {std::string("/proc/self/fd/"), std::string("/dev/fd/"), ownProc}) {
        if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
            path.find_first_not_of("0123456789", prefix.size()) == std::string::npos &&
            path.size() - prefix.size() < 10) {
            return std::stoi(path.substr(prefix.size()));
        }
    }
    return -1;
}

// Follows symbolic links to the name that is no link (which need not exist).
// Stops early at a descriptor name (see ownDescriptorOf); false on a loop.
bool followLinks(std::string& path, int& descriptor) {
    namespace fs = std::filesystem;
    descriptor = -1;
    for (int hops = 0; hops < 40; ++hops) {
        descriptor = ownDescriptorOf(path);
        if (descriptor >= 0) {
            return true;
        }
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) {
            return true;
        }
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            return true;
        }
        path = target.is_absolute() ? target.string() : (fs::path(path).parent_path() / target).string();
    }
    return false;
}

// Writes into a pipe, FIFO, device or open descriptor as it is.
bool writeStraight(const std::string& shown, int fd, const std::function<void(std::ostream&)>& write,
                   std::string& error) {
    const int failure = writeAll(fd, write);
    if (failure != 0) {
        error = "\"" + shown + "\" cannot be written: " + reasonOf(failure) + ".";
        return false;
    }
    return true;
}

}  // namespace

bool saveFileSafely(const std::string& requestedPath, const std::function<void(std::ostream&)>& write,
                    std::string& error) {
    if (requestedPath.empty()) {
        error = "No file name was given.";
        return false;
    }
    std::string path = requestedPath;
    int descriptor = -1;
    if (!followLinks(path, descriptor)) {
        error = "\"" + requestedPath + "\" cannot be written: " + reasonOf(ELOOP) + ".";
        return false;
    }
    if (descriptor >= 0) {
        const int fd = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
        if (fd < 0) {
            error = "\"" + requestedPath + "\" cannot be written: " + reasonOf(errno) + ".";
            return false;
        }
        const bool written = writeStraight(requestedPath, fd, write, error);
        ::close(fd);
        return written;
    }

    struct stat target {};
    const bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        error = "\"" + path + "\" is a folder.";
        return false;
    }
    if (exists && S_ISBLK(target.st_mode)) {
        error = "\"" + path + "\" is a disk device; it is not written to.";
        return false;
    }
    if (exists && !S_ISREG(target.st_mode)) {
        // A FIFO without a reader would block the open: refuse it instead.
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            error = "\"" + path + "\" cannot be written: " +
                    (errno == ENXIO ? std::string("no program reads from it") : reasonOf(errno)) + ".";
            return false;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        const bool written = writeStraight(path, fd, write, error);
        ::close(fd);
        return written;
    }

    // A new file gets the permissions any program's new file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    if (exists) {
        // Renaming over a read-only file would succeed; the user made it
        // read-only to keep it, so refuse as an editor would.
        if (::access(path.c_str(), W_OK) != 0) {
            error = "\"" + path + "\" cannot be replaced: " + reasonOf(errno) + ".";
            return false;
        }
        mode = target.st_mode & 07777;
    }

    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "\"" + path + "\" cannot be written: " + reasonOf(errno) + ".";
        return false;
    }
    const std::string temporary(name.data());
    const int slot = armTemporary(temporary);
    ::fchmod(fd, mode);
    int failure = 0;
    try {
        failure = writeAll(fd, write);
    } catch (...) {
        // Out of memory midway, say: the previous file stays, and no temporary file is left.
        ::close(fd);
        std::remove(temporary.c_str());
        disarmTemporary(slot);
        throw;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure != 0) {
        std::remove(temporary.c_str());
        disarmTemporary(slot);
        error = "\"" + path + "\" cannot be written: " + reasonOf(failure) + ".";
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        std::remove(temporary.c_str());
        disarmTemporary(slot);
        error = "\"" + path + "\" cannot be replaced: " + reasonOf(saved) + ".";
        return false;
    }
    disarmTemporary(slot);
    return true;
}

bool readWholeFile(const std::string& path, std::string& text) {
    constexpr std::size_t kStreamLimit = std::size_t{128} << 20;  // as the curve reader takes from a pipe
    std::string reason;
    InputFile input = openInputFile(path, kStreamLimit, reason);
    if (!input.opened) {
        return false;
    }
    if (input.file == nullptr) {
        text = std::move(input.bytes);
        return true;
    }
    text.clear();
    char block[4096];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, input.file)) > 0) {
        text.append(block, got);
    }
    const bool ok = std::ferror(input.file) == 0;
    std::fclose(input.file);
    return ok;
}

bool writeFileAtomically(const std::string& path, const std::string& text) {
    std::string ignoredReason;
    return saveFileSafely(
        path,
        [&text](std::ostream& out) { out.write(text.data(), static_cast<std::streamsize>(text.size())); },
        ignoredReason);
}

void removeTemporaryFilesOnSignals() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction handler {};
        handler.sa_handler = removeTemporariesAndRaise;
        sigemptyset(&handler.sa_mask);
        ::sigaction(signal, &handler, nullptr);
    }
}

}  // namespace mivaro

#include "platform/input_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace mivaro {
namespace {

// Reads a descriptor to its end into bytes (which may hold a first byte already).
bool readStream(int fd, std::size_t limit, std::string& bytes, std::string& reason) {
    char block[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got == 0) {
            return true;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            reason = std::strerror(errno);
            return false;
        }
        if (bytes.size() + static_cast<std::size_t>(got) > limit) {
            reason = "it gives more than " + sizeText(limit) + ", the most read from a pipe or device";
            return false;
        }
        bytes.append(block, static_cast<std::size_t>(got));
    }
}

}  // namespace

InputFile openInputFile(const std::string& path, std::size_t streamLimit, std::string& reason) {
    InputFile input;
    if (path.empty()) {
        reason = "no file name";
        return input;
    }
    // Non-blocking, so that a FIFO without a writer opens at once instead of
    // waiting for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return input;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        reason = S_ISDIR(info.st_mode) ? "it is a folder" : std::strerror(errno);
        ::close(fd);
        return input;
    }
    if (S_ISREG(info.st_mode)) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        input.file = ::fdopen(fd, "rb");
        if (input.file == nullptr) {
            reason = std::strerror(errno);
            ::close(fd);
            return input;
        }
        input.opened = true;
        return input;
    }
    if (S_ISFIFO(info.st_mode)) {
        // Without data, a read tells a pipe whose writer is still at work
        // (EAGAIN) from one nobody writes to (its end at once).
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 0) <= 0 || (ready.revents & POLLIN) == 0) {
            char first = 0;
            const ssize_t got = ::read(fd, &first, 1);
            if (got == 0) {
                reason = "it is a pipe or FIFO that no program writes to";
                ::close(fd);
                return input;
            }
            if (got == 1) {
                input.bytes.push_back(first);  // the writer was quicker than the test
            }
        }
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    bool read = false;
    try {
        read = readStream(fd, streamLimit, input.bytes, reason);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    if (!read) {
        input.bytes.clear();
        input.bytes.shrink_to_fit();
        return input;
    }
    if (input.bytes.empty()) {
        reason = "nothing came from it";
        return input;
    }
    input.opened = true;
    return input;
}

std::string sizeText(std::size_t bytes) {
    if (bytes >= (std::size_t{1} << 20)) {
        return std::to_string(bytes >> 20) + " MB";
    }
    return std::to_string(bytes) + " bytes";
}

}  // namespace mivaro

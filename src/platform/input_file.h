#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace mivaro {

// A file opened for reading. A regular file is left open to be read as the
// caller goes; a pipe, FIFO or device can be read only once, so it is read
// whole at once (its bytes are held instead).
struct InputFile {
    std::FILE* file = nullptr;  // a regular file, owned by the caller
    bool opened = false;
    std::string bytes;  // everything a pipe, FIFO or device gave
};

// Opens path for reading without ever blocking on a FIFO that no program
// writes to (it is refused). A pipe or device giving more than streamLimit
// bytes, or nothing at all, is refused too. On failure `opened` is false and
// `reason` says why in a few words (no full stop). Allocation failures
// propagate as std::bad_alloc.
InputFile openInputFile(const std::string& path, std::size_t streamLimit, std::string& reason);

// "256 MB", "12 bytes".
std::string sizeText(std::size_t bytes);

}  // namespace mivaro

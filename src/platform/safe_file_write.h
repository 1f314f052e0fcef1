#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace mivaro {

// Writes a file through a temporary file in the same directory and renames it
// over the target, so a failure midway leaves the previous file as it was.
// A symbolic link is followed and the file it names replaced (the link
// stays). A target that is no regular file (a pipe, FIFO, character device,
// or a descriptor such as /dev/stdout) is written straight into, a FIFO that
// no program reads from is refused rather than waited on; a folder or a disk
// device is refused. A target that exists but is not writable is refused
// rather than replaced. On failure returns false and puts a sentence for the
// user into `error`.
bool saveFileSafely(const std::string& path, const std::function<void(std::ostream&)>& write,
                    std::string& error);

// The whole file as bytes; false when it cannot be opened or read. A FIFO
// nobody writes to is refused at once; a pipe or device may give 128 MB.
bool readWholeFile(const std::string& path, std::string& text);

// Settings writes, silent: through saveFileSafely; false when the file could
// not be written (an existing file that may not be written is left alone).
bool writeFileAtomically(const std::string& path, const std::string& text);

// From now on SIGINT, SIGTERM and SIGHUP remove the temporary file of a write
// in progress before the program ends as the signal would end it. Signals the
// program was started to ignore stay ignored.
void removeTemporaryFilesOnSignals();

}  // namespace mivaro

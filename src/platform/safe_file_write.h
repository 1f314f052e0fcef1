#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace mivaro {

// Writes a file through a temporary file in the same directory and renames it
// over the target, so a failure midway leaves the previous file as it was.
// A target that exists but is not writable is refused rather than replaced.
// On failure returns false and puts a sentence for the user into `error`.
bool saveFileSafely(const std::string& path, const std::function<void(std::ostream&)>& write,
                    std::string& error);

// The whole file as bytes; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& text);

// Settings writes, silent: through saveFileSafely; false when the file could
// not be written (an existing file that may not be written is left alone).
bool writeFileAtomically(const std::string& path, const std::string& text);

}  // namespace mivaro

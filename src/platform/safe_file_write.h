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

}  // namespace mivaro

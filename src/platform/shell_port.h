#pragma once

#include <string>

namespace mivaro {

// Hands files and web addresses to the desktop. Results are ignored by callers.
class ShellPort {
  public:
    virtual ~ShellPort() = default;
    virtual void openFileWithDesktop(const std::string& program, const std::string& fileArgument) = 0;
    virtual void openUrl(const std::string& url) = 0;
};

}  // namespace mivaro

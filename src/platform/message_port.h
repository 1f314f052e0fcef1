#pragma once

#include <string>

namespace mivaro {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Message boxes. The logic never shows a window itself: the Qt layer answers
// with a real box, tests with a scripted fake, the CLI by printing to stderr.
class MessagePort {
  public:
    virtual ~MessagePort() = default;
    virtual MessageAnswer showMessage(const std::string& text, const std::string& caption,
                                      MessageButtons buttons = MessageButtons::Ok) = 0;
};

}  // namespace mivaro

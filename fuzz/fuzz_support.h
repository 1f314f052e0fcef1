#pragma once

#include <string>

#include "platform/message_port.h"

namespace mivaro::fuzz {

class NoMessages final : public MessagePort {
  public:
    MessageAnswer showMessage(const std::string&, const std::string&, MessageButtons) override {
        return MessageAnswer::Ok;
    }
};

inline void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace mivaro::fuzz

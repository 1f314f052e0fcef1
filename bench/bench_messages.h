#pragma once

#include "platform/message_port.h"

// Messages of the code under measurement, answered at once and shown nowhere.
class SilentMessages final : public mivaro::MessagePort {
  public:
    mivaro::MessageAnswer showMessage(const std::string&, const std::string&,
                                      mivaro::MessageButtons) override {
        return mivaro::MessageAnswer::Ok;
    }
};

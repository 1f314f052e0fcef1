#pragma once

#include <string>

namespace mivaro {

// The "Text Line" dialog: asks for one line of text. Returns false on Cancel,
// leaving text untouched.
class TextLineDialogPort {
  public:
    virtual ~TextLineDialogPort() = default;
    virtual bool askTextLine(std::string& text) = 0;
};

}  // namespace mivaro

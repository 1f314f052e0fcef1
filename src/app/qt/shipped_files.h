#pragma once

#include <string>

namespace mivaro {

// The help file as shipped inside the program (a Qt resource).
const std::string& shippedHelpText();

}  // namespace mivaro

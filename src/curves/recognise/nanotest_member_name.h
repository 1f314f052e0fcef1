#pragma once

// Micromaterials NanoTest exports name each indent's file
// "<name> <number> <x> <y>.txt", e.g. "1000nmXX 1 6958 -4555.txt".

#include <optional>
#include <string>
#include <string_view>

namespace mivaro::recognise {

struct NanoTestMemberName {
    std::string name;  // "1000nmXX 1": the indent's name with its number
    int number = 0;
    double xUm = 0, yUm = 0;
};

// From a file or member name (a folder part is ignored); nothing when the
// name does not end in a number and two coordinates.
std::optional<NanoTestMemberName> parseNanoTestMemberName(std::string_view fileName);

}  // namespace mivaro::recognise

#pragma once

#include <string>
#include <string_view>

namespace mivaro {

bool isValidUtf8(std::string_view bytes);

// Every byte as its Windows-1252 character, in UTF-8; the five bytes the code
// page leaves undefined become the Latin-1 characters of the same number.
std::string windows1252ToUtf8(std::string_view bytes);

// Text for the user's eyes: the bytes themselves when they are valid UTF-8,
// else their Windows-1252 reading (the code page of most instrument exports).
std::string displayTextUtf8(std::string_view bytes);

}  // namespace mivaro

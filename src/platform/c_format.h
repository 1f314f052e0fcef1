#pragma once

#include <string>
#include <string_view>

namespace mivaro {

// printf-style formatting in the C locale, whatever locale the process runs in
// (Qt sets the process locale from the environment; files and result texts
// must always use '.' as the decimal point).
std::string formatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Reads a number the way "%f"/"%d" of scanf would in the C locale: leading
// white space skipped, the longest valid prefix converted. Returns false when
// no number starts there. An integer beyond the range of int gives INT_MAX or
// INT_MIN.
bool scanCDouble(std::string_view text, double& value, std::size_t* consumed = nullptr);
bool scanCInt(std::string_view text, int& value, std::size_t* consumed = nullptr);

}  // namespace mivaro

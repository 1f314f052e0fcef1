#include "platform/c_format.h"

#include <locale.h>

#include <climits>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace mivaro {
namespace {

// One C locale object for the whole process, made on first use.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Switches the calling thread to the C locale for the lifetime of the guard.
class CLocaleGuard {
  public:
    CLocaleGuard() : m_previous(uselocale(cLocale())) {}
    ~CLocaleGuard() { uselocale(m_previous); }
    CLocaleGuard(const CLocaleGuard&) = delete;
    CLocaleGuard& operator=(const CLocaleGuard&) = delete;

  private:
    locale_t m_previous;
};

}  // namespace

std::string formatC(const char* format, ...) {
    CLocaleGuard guard;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        result.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(result.data(), result.size(), format, args);
        result.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return result;
}

bool scanCDouble(std::string_view text, double& value, std::size_t* consumed) {
    CLocaleGuard guard;
    const std::string buffer(text);
    char* end = nullptr;
    const double parsed = std::strtod(buffer.c_str(), &end);
    if (end == buffer.c_str()) {
        return false;
    }
    value = parsed;
    if (consumed != nullptr) {
        *consumed = static_cast<std::size_t>(end - buffer.c_str());
    }
    return true;
}

bool scanCInt(std::string_view text, int& value, std::size_t* consumed) {
    const std::string buffer(text);
    char* end = nullptr;
    const long parsed = std::strtol(buffer.c_str(), &end, 10);
    if (end == buffer.c_str()) {
        return false;
    }
    // Out of range clamps, as strtol does for long: a cut-off value could pass a range check.
    value = parsed > INT_MAX ? INT_MAX : parsed < INT_MIN ? INT_MIN : static_cast<int>(parsed);
    if (consumed != nullptr) {
        *consumed = static_cast<std::size_t>(end - buffer.c_str());
    }
    return true;
}

}  // namespace mivaro

#include <cstdio>

#include "app/cli/cli_common.h"

namespace mivaro::cli {

int runPoints(const std::vector<std::string>&) {
    std::fputs("mivaro-cli: points is being built\n", stderr);
    return kExitUsage;
}

}  // namespace mivaro::cli

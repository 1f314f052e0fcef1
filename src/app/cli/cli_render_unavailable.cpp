#include <cstdio>

#include "app/cli/cli_common.h"

namespace mivaro::cli {

int runRender(const std::vector<std::string>&) {
    std::fputs("mivaro-cli: this command is not available in this build\n", stderr);
    return kExitUsage;
}

}  // namespace mivaro::cli

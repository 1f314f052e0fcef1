// Core-only builds have no painter: `render` and `analyse --graph-out`
// explain that instead of drawing.
#include <cstdio>

#include "app/cli/cli_common.h"

namespace mivaro::cli {

int runRender(const std::vector<std::string>&) {
    std::fputs(
        "mivaro-cli render: this build has no Qt painter (built with MIVARO_CORE_ONLY); "
        "build with Qt to render graphs\n",
        stderr);
    return kExitUsage;
}

std::string writeModulusGraphImage(CXYGraphWnd&, const std::string&, int, int) {
    return "this build has no Qt painter (built with MIVARO_CORE_ONLY); build with Qt to write graphs";
}

}  // namespace mivaro::cli

#include "analysis/click_dispatch.h"

#include "analysis/branch_flow.h"
#include "analysis/hardness_flow.h"
#include "analysis/rate_flow.h"

namespace mivaro {

ClickFlow clickFlowFor(char letter) {
    switch (letter) {
        case LOAD:
            return ClickFlow::Loading;
        case TOP_HOLD:
            return ClickFlow::Hardness;
        case UNLOAD:
        case RELOAD:
            return ClickFlow::Branch;
        default:
            return ClickFlow::None;
    }
}

FlowOutcome runClickFlow(FlowContext& ctx, int clicked, const ClickDialogs& dialogs) {
    if (clicked < 0 || clicked >= ctx.set.pointCount()) {
        return {};
    }
    switch (clickFlowFor(ctx.set.segment[static_cast<std::size_t>(clicked)])) {
        case ClickFlow::Loading:
            return dialogs.loading != nullptr ? runLoadingFlow(ctx, clicked, *dialogs.loading)
                                              : FlowOutcome{};
        case ClickFlow::Hardness:
            return dialogs.hardness != nullptr ? runHardnessFlow(ctx, clicked, *dialogs.hardness)
                                               : FlowOutcome{};
        case ClickFlow::Branch:
            return dialogs.modulus != nullptr
                       ? runBranchFlow(ctx, clicked, *dialogs.modulus, dialogs.modulusGraph)
                       : FlowOutcome{};
        case ClickFlow::None:
            break;
    }
    return {};
}

}  // namespace mivaro

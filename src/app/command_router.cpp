#include "app/command_router.h"

#include <utility>

namespace mivaro {

void CommandRouter::add(CommandTarget target, int id, Handler handler) {
    m_handlers[target][id] = std::move(handler);
}

const CommandTarget* CommandRouter::handlerTarget(int id) const {
    for (const CommandTarget& target : kRoutingOrder) {
        const auto level = m_handlers.find(target);
        if (level != m_handlers.end() && level->second.count(id) != 0) {
            return &target;
        }
    }
    return nullptr;
}

bool CommandRouter::dispatch(int id) const {
    const CommandTarget* target = handlerTarget(id);
    if (target == nullptr) {
        return false;
    }
    // Copy: a handler may replace the table (not today, but cheap insurance).
    const Handler handler = m_handlers.at(*target).at(id);
    handler();
    return true;
}

}  // namespace mivaro

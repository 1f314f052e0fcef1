#pragma once

#include <array>
#include <functional>
#include <map>

namespace mivaro {

// Who receives a command. A command goes to the first of view, document,
// frame and application that has a handler for it; a command nobody handles
// does nothing and its menu item and button are disabled.
enum class CommandTarget { View, Document, Frame, Application };

class CommandRouter {
  public:
    using Handler = std::function<void()>;

    void add(CommandTarget target, int id, Handler handler);

    // Runs the handler of the first target in routing order; false when no
    // target handles the command.
    bool dispatch(int id) const;
    bool handles(int id) const { return handlerTarget(id) != nullptr; }

    // The target that gets the command, or nullptr when none does.
    const CommandTarget* handlerTarget(int id) const;

  private:
    static constexpr std::array<CommandTarget, 4> kRoutingOrder = {
        CommandTarget::View, CommandTarget::Document, CommandTarget::Frame, CommandTarget::Application};

    std::map<CommandTarget, std::map<int, Handler>> m_handlers;
};

}  // namespace mivaro

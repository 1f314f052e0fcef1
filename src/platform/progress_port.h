#pragma once

#include <string>

namespace mivaro {

// Long work on the user-interface thread reports how far it got; the window
// shows a wait dialog with Cancel once the work has run for a while.
class ProgressPort {
  public:
    virtual ~ProgressPort() = default;
    // Work of `total` steps starts.
    virtual void begin(const std::string& text, int total) = 0;
    // `done` steps are finished; false when the user asked to stop.
    virtual bool advance(int done) = 0;
    // The work is over (finished or stopped).
    virtual void end() = 0;
};

}  // namespace mivaro

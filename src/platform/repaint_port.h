#pragma once

namespace mivaro {

// Asks the window that shows a model to draw it again from scratch.
class RepaintPort {
  public:
    virtual ~RepaintPort() = default;
    virtual void requestRepaint(bool eraseBackground = true) = 0;
};

// For headless users (the CLI, most tests) that have nothing to repaint.
class NoRepaint final : public RepaintPort {
  public:
    void requestRepaint(bool) override {}
};

}  // namespace mivaro

// One pass of the event loop, which long work offers between its steps so that the windows
// repaint and stay usable.
#pragma once

namespace tabulon {

class EventPass {
  public:
    virtual ~EventPass() = default;
    virtual void processEvents() = 0;
};

}  // namespace tabulon

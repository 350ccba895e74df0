// What a long operation shows while it runs: progress, the busy pointer and event passes.
#pragma once

#include <string>

namespace tabulon {

class Activity {
  public:
    virtual ~Activity() = default;
    virtual void setProgressValue(int percent) = 0;
    virtual void setProgressText(const std::string& text) = 0;
    virtual void setBusyPointer() = 0;
    virtual void setDefaultPointer() = 0;
    // Lets waiting window events run, so that the windows repaint and stay usable.
    virtual void processEvents() = 0;
    // The worksheet that the work is on now; empty between worksheets.
    virtual void setCurrentSheet(const std::string&) {}
};

}  // namespace tabulon

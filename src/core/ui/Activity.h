// What a long operation shows while it runs: progress, the busy pointer and event passes.
#pragma once

#include <string>

#include "core/util/EventPass.h"

namespace tabulon {

class Activity : public EventPass {
  public:
    virtual void setProgressValue(int percent) = 0;
    virtual void setProgressText(const std::string& text) = 0;
    virtual void setBusyPointer() = 0;
    virtual void setDefaultPointer() = 0;
    // The worksheet that the work is on now; empty between worksheets.
    virtual void setCurrentSheet(const std::string&) {}
};

}  // namespace tabulon

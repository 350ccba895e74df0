// The interface through which the error trap shows a failed statement to the user.
#pragma once

#include <string>

namespace tabulon {

struct TrappedError {
    std::string label;        // window or module, ".", procedure: "Excel1.SaveEachSheet"
    int line = 0;             // the failing statement's number: 100, 102, ...
    std::string description;  // what went wrong
    std::string file = {};    // the file that a failed file operation names, if any
};

// The text of the "Application Error" box for a trapped error.
std::string errorBoxText(const TrappedError& error);

inline constexpr const char* kErrorBoxTitle = "Application Error";
inline constexpr const char* kSupportAddress = "support@quillmark.example";

class ErrorReporter {
  public:
    virtual ~ErrorReporter() = default;
    virtual void reportError(const TrappedError& error) = 0;
    // Something the user should know about a workbook that still exported, such as text the
    // reader had to cut; said once per workbook, and not an error.
    virtual void reportNotice(const std::string& file, const std::string& text) = 0;
};

}  // namespace tabulon

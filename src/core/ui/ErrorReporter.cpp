// Builds the text of the "Application Error" box.
#include "core/ui/ErrorReporter.h"

namespace tabulon {

std::string errorBoxText(const TrappedError& error) {
    return error.description + "\r\n" + "in Vexmoor2/19/2015." + error.label + " " + "at line " +
           std::to_string(error.line) + "\r" + "\r" +
           "Please email screenshot of this message to " + kSupportAddress;
}

}  // namespace tabulon

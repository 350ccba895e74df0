// The common error trap: numbered statements whose failures are reported and then passed over.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "core/Error.h"
#include "core/ui/ErrorReporter.h"

namespace tabulon {

// A trapped procedure runs each numbered statement through its trap. A statement that throws
// is reported with the procedure's label and the statement's number, and the procedure goes on
// with the next statement. A failure inside a called routine ends that routine (the exception
// leaves it) and is reported here, at the statement that called it.
class ErrorTrap {
  public:
    ErrorTrap(ErrorReporter& reporter, std::string label)
        : reporter_(reporter), label_(std::move(label)) {}

    template <class Statement>
    void run(int line, Statement&& statement) {
        try {
            std::forward<Statement>(statement)();
        } catch (const std::exception& e) {
            report(line, e);
        }
    }

    // The test of a conditional: a test that fails is reported and counts as true, so the
    // branch that it guards is entered.
    template <class Test>
    bool test(int line, Test&& condition) {
        try {
            return static_cast<bool>(std::forward<Test>(condition)());
        } catch (const std::exception& e) {
            report(line, e);
            return true;
        }
    }

    const std::string& label() const { return label_; }
    int errorCount() const { return errorCount_; }

    // Reports a failure caught by the procedure itself, as a failing statement is reported.
    void report(int line, const std::exception& e) {
        ++errorCount_;
        const auto* fileError = dynamic_cast<const FileError*>(&e);
        reporter_.reportError(
            TrappedError{label_, line, e.what(), fileError ? fileError->path() : std::string()});
    }

  private:
    ErrorReporter& reporter_;
    std::string label_;
    int errorCount_ = 0;
};

}  // namespace tabulon

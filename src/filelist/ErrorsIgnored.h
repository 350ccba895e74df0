// Running a statement whose failure is passed over without a word.
#pragma once

#include <exception>
#include <utility>

namespace tabulon {

// Runs the statement; when it fails, nothing is reported and the caller goes on with its next
// statement, as in the handlers that ignore errors (removal and the move buttons).
template <class Statement>
void ignoringErrors(Statement&& statement) {
    try {
        std::forward<Statement>(statement)();
    } catch (const std::exception&) {
    }
}

}  // namespace tabulon

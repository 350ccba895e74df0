// --output -: the results of a run written to standard output instead of files.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/ErrorTrap.h"
#include "core/export/ResultStore.h"
#include "core/ui/ErrorReporter.h"

namespace tabulon::cli {

// Writes each result as its file would hold it (its text, then `textEnd`), one after another
// in the order they are saved. A result whose stored text cannot be read is reported through
// the error trap and the next one is written; a failed write to standard output (a closed
// pipe, a full disk) is kept as failure() and nothing more is written.
class StdoutResults {
  public:
    StdoutResults(ErrorReporter& errors, std::string_view textEnd);

    // Writes every result of the store.
    void write(const ResultStore& results);
    // Writes what is still buffered.
    void finish();

    // Called before each result is written, if set.
    std::function<void()> beforeEachResult;

    // "standard output: REASON" once a write has failed; empty before.
    const std::string& failure() const { return failure_; }

  private:
    void put(std::string_view bytes);

    ErrorTrap trap_;
    std::string_view textEnd_;
    std::string failure_;
};

}  // namespace tabulon::cli

// -j N: several workbooks exported at once, their results saved as a run of one at a time
// saves them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/Terminal.h"
#include "core/export/ResultStore.h"

namespace tabulon::cli {

struct ParallelRun {
    std::vector<std::string> files;
    // One store per thread.
    std::vector<std::unique_ptr<ResultStore>>* stores;
    // Exports one workbook with this terminal into this store.
    std::function<void(const std::string& file, Terminal&, ResultStore&)> exportOne;
    // Where saving reports its errors; it names the workbook whose results are saved.
    Terminal* terminal;
    // Saves one workbook's results; false stops the run after it.
    std::function<bool(const ResultStore&)> save;
    bool verbose = false;
};

// Each thread exports one workbook after another, its stderr lines held back; the workbooks
// are then handed to save() one at a time in list order, each after its held-back lines are
// written to stderr. So the files, their names, their bytes and the stderr lines are those of a
// run with one thread. Returns how many errors the exports reported.
int exportInParallel(ParallelRun& run);

}  // namespace tabulon::cli

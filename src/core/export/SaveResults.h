// Writing the results of a run as .csv files named after workbook, sheet and row or column.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/ErrorTrap.h"
#include "core/export/DistinctNames.h"
#include "core/export/ResultStore.h"
#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"

namespace tabulon {

// The file name without folder and without what follows its last dot (the dot included); a name
// without a dot is its own stem.
std::string fileNameStem(const std::string& text);

// The file name of a result under a save option: the stem of its result name, "_" and the sheet
// name (sheet, row and column options), "_" and the number (row and column options), ".csv".
// Empty for a text that is none of the four options.
std::string resultFileName(const std::string& option, const Result& result);

// One save into one output folder, which may take its results in several batches. Each result's
// file is written completely or not at all; a name that an earlier result of the same save took,
// in any case, gets a number (DistinctNames), so no result overwrites another. A failing write is
// reported the first time its kind of reason (no space, read-only, permission denied, ...) comes
// up and only counted after that, and the other files are still written.
class ResultSaver {
  public:
    // Each file gets `textEnd` after its result's text.
    ResultSaver(std::string outputFolder, ErrorReporter& errors, std::string_view textEnd = "\r\n");

    // Writes each result of the store to its file.
    void save(const std::string& option, const ResultStore& results);
    // Writes what the save wrote to the disk. A failure is reported, and then no result of the
    // save counts as saved.
    void flush();

    // Called before each file is written, if set.
    std::function<void()> beforeEachFile;

    int failedCount() const { return failed_; }
    // "Done." when every result was saved; otherwise how many of how many were not.
    std::string endMessage() const;

  private:
    void failed(const std::exception& e);

    ErrorTrap trap_;
    std::string outputFolder_;
    std::string_view textEnd_;
    DistinctNames names_;
    std::set<std::string> reportedKinds_;
    int results_ = 0;
    int failed_ = 0;
    int unflushed_ = 0;  // files written since the last flush
};

struct SaveRequest {
    std::string outputFolder;
    std::string option;
    const ResultStore* results;  // none when no run has delivered results
    // Called before each file is written, if set.
    std::function<void()> beforeEachFile = {};
};

// "Save Results To CSV": refuses a folder that does not exist, saves every result, flushes the
// files to the disk and ends with the saver's end message.
void saveResultFiles(const SaveRequest& request, Dialogs& dialogs, ErrorReporter& errors);

// The label under which saving reports its errors.
inline constexpr const char* kSaveLabel = "Form2.PushButton6_Click";

}  // namespace tabulon

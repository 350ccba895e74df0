// Writing the results of a run as .csv files named after workbook, sheet and row or column.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ErrorTrap.h"
#include "core/export/DistinctNames.h"
#include "core/export/ResultStore.h"
#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"

namespace tabulon {

// One row of the results list: the result name, the sheet name and the row or column number.
struct ResultRow {
    std::string name;
    std::string subItem1;
    std::string subItem2;
};

// The file name without folder and without what follows its last dot (the dot included); a name
// without a dot is its own stem.
std::string FileNameStem(const std::string& text);

// The file name of each result for a save option; none for an unknown option text.
std::vector<std::string> ResultFileNames(const std::string& option,
                                         const std::vector<ResultRow>& rows);

// One save into one output folder, which may take its results in several batches. Each result's
// file is written completely or not at all; a name that an earlier result of the same save took
// gets a number (DistinctNames), so no result overwrites another. A failing write is reported
// and the others are still written.
class ResultSaver {
  public:
    // Each file gets `textEnd` after its result's text.
    ResultSaver(std::string outputFolder, ErrorReporter& errors,
                std::string_view textEnd = "\r\n");

    // Writes the text of row k's result (texts[k - 1]) to its file.
    void save(const std::string& option, const std::vector<ResultRow>& rows,
              const ResultStore& texts);

    // Called before each file is written, if set.
    std::function<void()> beforeEachFile;

    int resultCount() const { return results_; }
    int failedCount() const { return failed_; }
    // "Done." when every result was saved; otherwise how many of how many were not.
    std::string endMessage() const;

  private:
    ErrorTrap trap_;
    std::string outputFolder_;
    std::string_view textEnd_;
    DistinctNames names_;
    int results_ = 0;
    int failed_ = 0;
};

struct SaveRequest {
    std::string outputFolder;
    std::string option;
    std::vector<ResultRow> rows;
    const ResultStore& resultTexts;
    // What each file gets after its result's text.
    std::string_view textEnd = "\r\n";
};

// "Save Results To CSV": refuses a folder that does not exist, saves every result and ends
// with the saver's end message.
void SaveResultFiles(const SaveRequest& request, Dialogs& dialogs, ErrorReporter& errors);

// The label under which saving reports its errors.
inline constexpr const char* kSaveLabel = "Form2.PushButton6_Click";

}  // namespace tabulon

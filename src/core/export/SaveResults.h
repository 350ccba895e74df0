// Writing the results of a run as .csv files named after workbook, sheet and row or column.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

struct SaveRequest {
    std::string outputFolder;
    std::string option;
    std::vector<ResultRow> rows;
    const std::vector<std::string>& resultTexts;
    // What each file gets after its result's text.
    std::string_view textEnd = "\r\n";
};

// "Save Results To CSV": refuses a folder that does not exist, writes result k's text to its
// file (a failing write is reported and the others are still written) and says "Done.".
void SaveResultFiles(const SaveRequest& request, Dialogs& dialogs, ErrorReporter& errors);

}  // namespace tabulon

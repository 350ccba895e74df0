// One export run: every listed workbook through the chosen option's export mode.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/export/ExportContext.h"
#include "core/ui/Dialogs.h"

namespace tabulon {

using ExportMode = void (*)(ExportContext&, const std::string&, std::string&, const std::string&,
                            std::int32_t&);

// The export mode of a save option; nullptr for a text that is none of the four options.
ExportMode exportModeFor(const std::string& option);

// The results list's columns for a save option; none for an unknown text.
std::vector<ResultColumn> resultColumnsFor(const std::string& option);

struct ExportRun {
    ExportContext& context;
    Dialogs& dialogs;
    // Asks whether to go on when a spreadsheet program is open; true stops the run.
    std::function<bool()> warnIfExcelOpen;
};

// The run behind "Start Exporting To CSV": empties the result texts, asks about an open
// spreadsheet program, refuses an empty list, prepares the results list, exports each listed
// file in order with the progress bar moving, resets progress and pointer and hands over.
void runExport(ExportRun& run);

}  // namespace tabulon

// What every format's reader does: open a workbook, reading what its sheets share, then read one
// worksheet's cells on demand.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/workbook/StoredWorksheet.h"

namespace tabulon::workbook {

struct WorksheetEntry {
    std::string name;
    SheetVisibility visibility = SheetVisibility::Visible;
};

class WorkbookReader {
  public:
    virtual ~WorkbookReader() = default;
    // Reads the date system, the cell formats and the shared strings into the book and returns
    // the worksheets in workbook order. Throws ReadError.
    virtual std::vector<WorksheetEntry> open(WorkbookData& book) = 0;
    // Reads the cells of worksheet `index` (of those open() returned), charging the book's
    // budgets. Throws ReadError.
    virtual std::unique_ptr<StoredWorksheet> readWorksheet(std::size_t index,
                                                           const WorksheetEntry& entry,
                                                           const WorkbookData& book) = 0;
};

}  // namespace tabulon::workbook

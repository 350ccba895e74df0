// The part readers of one package format: the XML parts of .xlsx, .xlsm, .xltx and .xltm, or the
// record parts of .xlsb. The package driver finds the parts; these read them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/numfmt/NumberFormat.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/StringPool.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::package {

struct SheetEntry {
    std::string name;
    std::string relationshipId;
    SheetVisibility visibility = SheetVisibility::Visible;
};

// What the workbook part says: its sheets in order (every sheet kind) and the date system.
struct WorkbookPart {
    bool date1904 = false;
    std::vector<SheetEntry> sheets;
};

class PackageParts {
  public:
    virtual ~PackageParts() = default;
    virtual WorkbookPart readWorkbookPart(ZipArchive& archive, std::string_view part) = 0;
    // The compiled number format of every cell format in order; never empty.
    virtual std::vector<numfmt::NumberFormat> readCellFormats(ZipArchive& archive,
                                                              std::string_view part) = 0;
    // Appends the plain text of every shared string to the pool, in order.
    virtual void readSharedStrings(ZipArchive& archive, std::string_view part,
                                   StringPool& out) = 0;
    // Reads the cells of the worksheet part into the sheet, charging the book's cell budget.
    virtual void readWorksheet(ZipArchive& archive, std::string_view part,
                               const WorkbookData& book, StoredWorksheet& sheet) = 0;
};

}  // namespace tabulon::workbook::package

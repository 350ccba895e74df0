// The readers of one package format's entries: XML in .xlsx, .xlsm, .xltx and .xltm, binary
// records in .xlsb. The package driver finds the entries; these read them.
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

// What the workbook entry says: its sheets in order (every sheet kind) and the date system.
struct WorkbookPart {
    bool isWorkbook = false;  // the entry begins a workbook (not a worksheet or relationships)
    bool date1904 = false;
    std::vector<SheetEntry> sheets;
};

class PackageFormat {
  public:
    virtual ~PackageFormat() = default;
    virtual WorkbookPart readWorkbookPart(ZipArchive& archive, std::string_view part) = 0;
    // The compiled number format of every cell format in order; never empty.
    virtual std::vector<numfmt::NumberFormat> readCellFormats(ZipArchive& archive,
                                                              std::string_view part) = 0;
    // Appends the plain text of every shared string to the pool, in order.
    virtual void readSharedStrings(ZipArchive& archive, std::string_view part, StringPool& out) = 0;
    // Reads the cells of the worksheet entry into the sheet, charging the book's cell budget.
    virtual void readWorksheet(ZipArchive& archive, std::string_view part, const WorkbookData& book,
                               StoredWorksheet& sheet) = 0;
};

}  // namespace tabulon::workbook::package

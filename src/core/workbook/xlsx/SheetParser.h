// A worksheet part read in one streaming pass into the sheet's cell store.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsx {

// How a worksheet part is read: the sheetData scanner (with expat around it, and expat alone
// for parts the scanner does not read), or expat alone.
enum class SheetPath { Scanner, Expat };

// Reads the cells of the package part into the sheet, charging the workbook's cell budget. Throws
// ReadError for cells outside the sheet, bad references and values, too many cells and malformed
// XML. Returns the path that read the package part.
SheetPath readWorksheet(ZipArchive& archive, std::string_view part, const WorkbookData& book,
                        StoredWorksheet& sheet, SheetPath preferred = SheetPath::Scanner);

}  // namespace tabulon::workbook::xlsx

// A binary worksheet part read in one streaming pass into the sheet's cell store.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsb {

// Reads the cell records of the package part into the sheet; formulas count by their cached values.
// Charges the workbook's cell budget. Throws ReadError for damaged records, cells outside the
// sheet, bad values and too many cells.
void readWorksheetBin(ZipArchive& archive, std::string_view part, const WorkbookData& book,
                      StoredWorksheet& sheet);

}  // namespace tabulon::workbook::xlsb

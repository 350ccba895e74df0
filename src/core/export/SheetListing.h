// What a listing of a workbook's sheets shows: one line a sheet.
#pragma once

#include <string>
#include <vector>

#include "core/export/SheetChoice.h"
#include "core/workbook/Workbook.h"

namespace tabulon {

// One line a listed sheet: the file, the sheet's name, its kind, its visibility ("visible",
// "hidden" or "veryhidden") and its used range ("A1:D5"), separated by tabs. The engine reads
// worksheets only (chart and dialog sheets are not among them), so the kind is "worksheet".
// The file and the name have their control characters escaped, so that a line stays one line of
// five fields.
std::vector<std::string> sheetListingLines(const std::string& file, const workbook::Workbook& book,
                                           SheetChoice* choice);

}  // namespace tabulon

// The text of a cell's value, as the row and column modes write it, and as it is stored.
#pragma once

#include <string>

#include "core/workbook/CellValue.h"

namespace tabulon {

// Empty -> "", text as it is, "True"/"False", numbers with up to 15 significant digits, dates
// as m/d/yyyy h:mm:ss AM/PM, an error value as it shows (#N/A, #DIV/0!, ...).
std::string cellValueText(const workbook::CellValue& value, bool date1904);

// The value as stored, for data pipelines rather than eyes: numbers in the fewest digits that
// read back to the same double, dates and times in ISO 8601 (a date value that names no day of
// the calendar as its number), "TRUE"/"FALSE", error values and text as they are.
std::string storedValueText(const workbook::CellValue& value, bool date1904);

}  // namespace tabulon

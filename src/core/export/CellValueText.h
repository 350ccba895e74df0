// The text of a cell's value, as the row and column modes write it.
#pragma once

#include <string>

#include "core/workbook/CellValue.h"

namespace tabulon {

// Empty -> "", text as it is, "True"/"False", numbers with up to 15 significant digits, dates
// as m/d/yyyy h:mm:ss AM/PM, an error value as it shows (#N/A, #DIV/0!, ...).
std::string CellValueText(const workbook::CellValue& value, bool date1904);

}  // namespace tabulon

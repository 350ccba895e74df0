// The reader of Office Open XML workbooks (.xlsx, .xlsm, .xltx, .xltm).
#pragma once

#include <memory>

#include "core/workbook/Workbook.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsx {

// Reads every worksheet of the package; chart, dialog and macro sheets are not worksheets and
// are passed over. Throws ReadError.
std::unique_ptr<Workbook> readXlsx(ZipArchive& archive);

}  // namespace tabulon::workbook::xlsx

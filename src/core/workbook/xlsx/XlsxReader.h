// The reader of Office Open XML workbooks (.xlsx, .xlsm, .xltx, .xltm).
#pragma once

#include <memory>
#include <vector>

#include "core/workbook/Workbook.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/xlsx/SheetParser.h"

namespace tabulon::workbook::xlsx {

struct XlsxReadOptions {
    SheetPath sheetPath = SheetPath::Scanner;
    // When set, receives the path that read each worksheet, in workbook order.
    std::vector<SheetPath>* pathsTaken = nullptr;
};

// Reads every worksheet of the package; chart, dialog and macro sheets are not worksheets and
// are passed over. Throws ReadError.
std::unique_ptr<Workbook> readXlsx(ZipArchive& archive, const XlsxReadOptions& options = {});

}  // namespace tabulon::workbook::xlsx

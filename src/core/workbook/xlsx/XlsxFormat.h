// The entry readers of Office Open XML workbooks (.xlsx, .xlsm, .xltx, .xltm).
#pragma once

#include <memory>
#include <vector>

#include "core/workbook/package/PackageFormat.h"
#include "core/workbook/xlsx/SheetParser.h"

namespace tabulon::workbook::xlsx {

struct XlsxReadOptions {
    SheetPath sheetPath = SheetPath::Scanner;
    // When set, receives the path that read each worksheet, in the order they are read.
    std::vector<SheetPath>* pathsTaken = nullptr;
};

std::unique_ptr<package::PackageFormat> xmlFormat(const XlsxReadOptions& options = {});

}  // namespace tabulon::workbook::xlsx

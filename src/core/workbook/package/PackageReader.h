// The driver of the zip packages that .xlsx, .xlsm, .xltx, .xltm and .xlsb share: the package's
// relationships lead to the workbook entry, whose own relationships lead to the styles, the
// shared strings and the worksheets.
#pragma once

#include <memory>

#include "core/workbook/Workbook.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/xlsx/XlsxFormat.h"

namespace tabulon::workbook::package {

// Opens the package: a workbook entry whose name ends in ".bin" is read as binary records, any
// other as XML (with the options). Chart, dialog and macro sheets are not worksheets and are
// passed over; a sheet's relationship id names the first relationship of that id. Throws
// ReadError.
std::unique_ptr<Workbook> openPackage(std::unique_ptr<ZipArchive> archive,
                                      const xlsx::XlsxReadOptions& options = {});

}  // namespace tabulon::workbook::package

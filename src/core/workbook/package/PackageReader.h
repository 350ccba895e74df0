// The driver of the zip packages that .xlsx, .xlsm, .xltx, .xltm and .xlsb share: the package's
// relationships lead to the workbook entry, whose own relationships lead to the styles, the
// shared strings and the worksheets.
#pragma once

#include <memory>
#include <string>

#include "core/workbook/Workbook.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/package/PackageFormat.h"

namespace tabulon::workbook::package {

// The workbook entry that the package's relationships name, or the usual one in a package
// without them. Throws ReadError.
std::string findWorkbookPart(ZipArchive& archive);

// Opens the package whose workbook entry that is, reading the entries with the format's readers.
// Chart, dialog and macro sheets are not worksheets and are passed over; a sheet's relationship
// id names the first relationship of that id. Throws ReadError.
std::unique_ptr<Workbook> openPackage(std::unique_ptr<ZipArchive> archive, std::string workbookPart,
                                      std::unique_ptr<PackageFormat> format);

}  // namespace tabulon::workbook::package

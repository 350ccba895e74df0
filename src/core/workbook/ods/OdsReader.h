// The reader of OpenDocument spreadsheets (.ods).
#pragma once

#include <memory>

#include "core/workbook/Workbook.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::ods {

// Reads every table of the package as a worksheet, hidden ones too. Throws ReadError, of the
// PasswordProtected kind for an encrypted package.
std::unique_ptr<Workbook> readOds(ZipArchive& archive);

}  // namespace tabulon::workbook::ods

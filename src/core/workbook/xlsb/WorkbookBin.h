// The binary workbook part: its sheets in order and the date system.
#pragma once

#include <string_view>

#include "core/workbook/ZipArchive.h"
#include "core/workbook/package/PackageFormat.h"

namespace tabulon::workbook::xlsb {

// The sheet bundles (name, relationship, visibility) and the 1904 flag; other records are
// passed over.
package::WorkbookPart readWorkbookBin(ZipArchive& archive, std::string_view part);

}  // namespace tabulon::workbook::xlsb

// The workbook part: its sheets in order (name, relationship, visibility) and the date system.
#pragma once

#include <string_view>

#include "core/workbook/ZipArchive.h"
#include "core/workbook/package/PackageFormat.h"

namespace tabulon::workbook::xlsx {

package::WorkbookPart readWorkbookPart(ZipArchive& archive, std::string_view part);

// "1" and "true" are true, as the schema's boolean allows.
bool isTrue(const char* value);

}  // namespace tabulon::workbook::xlsx

// The binary shared string table.
#pragma once

#include <string_view>

#include "core/workbook/StringPool.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsb {

// Appends the plain text of every string item to the pool, in order; rich text runs and
// phonetic text are left out.
void readSharedStringsBin(ZipArchive& archive, std::string_view part, StringPool& out);

}  // namespace tabulon::workbook::xlsb

// The shared string table: one entry per <si>, rich-text runs joined, phonetic runs left out.
#pragma once

#include <string_view>

#include "core/workbook/StringPool.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/xlsx/SheetParser.h"

namespace tabulon::workbook::xlsx {

// Reads the strings into the pool: by the content scanner with expat around it, and by expat alone
// when the scanner does not read the entry, or when preferred says so.
void readSharedStrings(ZipArchive& archive, std::string_view part, StringPool& out,
                       SheetPath preferred = SheetPath::Scanner);

}  // namespace tabulon::workbook::xlsx

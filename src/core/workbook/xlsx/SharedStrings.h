// The shared string table: one entry per <si>, rich-text runs joined, phonetic runs left out.
#pragma once

#include <string_view>

#include "core/workbook/StringPool.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsx {

void readSharedStrings(ZipArchive& archive, std::string_view part, StringPool& out);

}  // namespace tabulon::workbook::xlsx

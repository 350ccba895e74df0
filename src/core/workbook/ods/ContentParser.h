// content.xml of an OpenDocument spreadsheet: its automatic styles, then one worksheet per
// table:table, read in one streaming pass.
#pragma once

#include <memory>
#include <vector>

#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/ods/OdsStyles.h"

namespace tabulon::workbook::ods {

// Reads the entry's tables as worksheets, in order, and what they share into the book.
// styles holds what styles.xml defined and takes the entry's automatic styles. Throws
// ReadError.
void readContent(ZipArchive& archive, OdsStyles& styles, WorkbookData& book,
                 std::vector<std::unique_ptr<StoredWorksheet>>& sheets);

}  // namespace tabulon::workbook::ods

// content.xml of an OpenDocument spreadsheet: its automatic styles, then one worksheet per
// table:table, read in one streaming pass.
#pragma once

#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/ods/OdsStyles.h"

namespace tabulon::workbook::ods {

// Adds the package part's tables to the book as worksheets, in order. styles holds what styles.xml
// defined and takes the package part's automatic styles. Throws ReadError.
void readContent(ZipArchive& archive, OdsStyles& styles, StoredWorkbook& book);

}  // namespace tabulon::workbook::ods

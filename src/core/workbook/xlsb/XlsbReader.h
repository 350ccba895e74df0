// The reader of Excel binary workbooks (.xlsb): an OOXML package whose parts are record streams.
#pragma once

#include <memory>
#include <string>

#include "core/workbook/Workbook.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsb {

// Reads every worksheet of the package whose workbook part (xl/workbook.bin) is given; chart,
// dialog and macro sheets are not worksheets and are passed over. Throws ReadError.
std::unique_ptr<Workbook> readXlsb(ZipArchive& archive, const std::string& workbookPart);

}  // namespace tabulon::workbook::xlsb

// Reading a worksheet part with the sheetData scanner, the markup around <sheetData> with expat.
#pragma once

#include <string_view>

#include "core/workbook/ZipArchive.h"
#include "core/workbook/xlsx/SheetBuilder.h"

namespace tabulon::workbook::xlsx {

// Streams the package part: expat reads everything up to and after <sheetData>, the scanner reads
// its content. Returns false when the package part holds markup that the scanner does not read, is
// not UTF-8, or is malformed or damaged anywhere; the builder's sheet is then partly filled and the
// part must be read again by the general parser, which gives the verdict. Throws the builder's
// ReadError for bad cells, and the container's for a missing or encrypted part.
bool scanWorksheet(ZipArchive& archive, std::string_view part, SheetBuilder& builder);

}  // namespace tabulon::workbook::xlsx

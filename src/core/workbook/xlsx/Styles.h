// The styles part, as far as cell text needs it: each cell format's number format.
#pragma once

#include <string_view>
#include <vector>

#include "core/numfmt/NumberFormat.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsx {

// The compiled number format of every cell format (cellXfs) in order; never empty. Each distinct
// format id is compiled once.
std::vector<numfmt::NumberFormat> readCellFormats(ZipArchive& archive, std::string_view part);

}  // namespace tabulon::workbook::xlsx

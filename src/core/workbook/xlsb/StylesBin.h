// The binary styles part, as far as cell text needs it: each cell format's number format.
#pragma once

#include <string_view>
#include <vector>

#include "core/numfmt/NumberFormat.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsb {

// The compiled number format of every cell format in order (the cell style formats before them
// are not cell formats); never empty. Each distinct format id is compiled once.
std::vector<numfmt::NumberFormat> readCellFormatsBin(ZipArchive& archive, std::string_view part);

}  // namespace tabulon::workbook::xlsb

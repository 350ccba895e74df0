// The number format of each cell format of a workbook, compiled from the format ids that the
// cell formats name.
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

#include "core/numfmt/NumberFormat.h"

namespace tabulon::workbook {

// The cell formats of a workbook without styles: General alone.
std::vector<numfmt::NumberFormat> generalCellFormats();

// The compiled format of each format id in order, each distinct id compiled once: the workbook's
// own code for the id, else the built-in one. General alone for no ids.
std::vector<numfmt::NumberFormat> compileCellFormats(std::span<const int> formatIds,
                                                     const std::map<int, std::string>& codes);

}  // namespace tabulon::workbook

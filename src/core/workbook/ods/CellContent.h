// What one cell of a table holds once read, before it is stored at its place and repeats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/workbook/CellStore.h"

namespace tabulon::workbook::ods {

struct CellContent {
    StoredKind kind;
    std::uint16_t style;         // index into the book's cell formats
    double number;               // for numbers
    std::uint32_t index;         // for text: the sheet's string; for booleans: 0 or 1
    bool shown;                  // for numbers whose paragraphs show them: that text is kept
    std::string_view shownText;  // that text, until the cell is placed
};

}  // namespace tabulon::workbook::ods

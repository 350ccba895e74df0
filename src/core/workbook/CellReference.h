// A1-style cell references: parsing "BC12" into row and column, and writing them back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Units.h"

namespace tabulon::workbook {

struct CellPosition {
    std::int32_t row = 0;  // 1-based
    std::int32_t col = 0;  // 1-based
};

// Parses letters then digits ("B3", "$B$3" is not accepted). The row may be missing ("B"), in
// which case row is 0. Returns nothing for malformed text or numbers beyond the sheet's size.
std::optional<CellPosition> parseCellReference(std::string_view text);

// "A" for 1, "Z" for 26, "AA" for 27, ...
std::string columnName(std::int32_t col);

// "B3" for row 3, column 2.
std::string cellName(std::int32_t row, std::int32_t col);

}  // namespace tabulon::workbook

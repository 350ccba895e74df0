// The counts of OpenDocument's repeat attributes (number-rows-repeated, number-columns-repeated,
// text:c of text:s).
#pragma once

#include <cstdint>

namespace tabulon::workbook::ods {

// The attribute's count, at most limit; 1 when it is missing or not a positive number.
std::int64_t repeatCount(const char* text, std::int64_t limit);

}  // namespace tabulon::workbook::ods

// The counts of OpenDocument's repeat attributes (number-rows-repeated, number-columns-repeated,
// text:c of text:s).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tabulon::workbook::ods {

// The attribute's count, at most limit; 1 when it is missing or not a positive number.
std::int64_t repeatCount(std::optional<std::string_view> text, std::int64_t limit);

}  // namespace tabulon::workbook::ods

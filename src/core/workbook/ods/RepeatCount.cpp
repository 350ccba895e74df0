// Reading a repeat count.
#include "core/workbook/ods/RepeatCount.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace tabulon::workbook::ods {

std::int64_t repeatCount(const char* text, std::int64_t limit) {
    if (text == nullptr) return 1;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text, text + std::strlen(text), value);
    if (ec == std::errc::result_out_of_range) return limit;
    if (ec != std::errc() || end == text || value < 1) return 1;
    return std::min(value, limit);
}

}  // namespace tabulon::workbook::ods

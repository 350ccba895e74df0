// Reading a repeat count.
#include "core/workbook/ods/RepeatCount.h"

#include <algorithm>
#include <charconv>

namespace tabulon::workbook::ods {

std::int64_t repeatCount(std::optional<std::string_view> text, std::int64_t limit) {
    if (!text) return 1;
    const char* begin = text->data();
    const char* end = begin + text->size();
    std::int64_t value = 0;
    const auto [stop, ec] = std::from_chars(begin, end, value);
    if (ec == std::errc::result_out_of_range) return limit;
    if (ec != std::errc() || stop == begin || value < 1) return 1;
    return std::min(value, limit);
}

}  // namespace tabulon::workbook::ods

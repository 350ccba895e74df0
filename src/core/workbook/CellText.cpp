// Cutting cell text at the application's length limit.
#include "core/workbook/CellText.h"

namespace tabulon::workbook {

std::string_view cutCellText(std::string_view text) {
    // Every code unit takes at least one byte.
    if (text.size() <= kMaxCellTextUnits) return text;
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) == 0x80) continue;             // a continuation byte
        const std::size_t width = c >= 0xF0 ? 2 : 1;  // four-byte sequences need a surrogate pair
        if (units + width > kMaxCellTextUnits) return text.substr(0, i);
        units += width;
    }
    return text;
}

}  // namespace tabulon::workbook

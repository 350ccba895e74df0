// A1-style cell references.
#include "core/workbook/CellReference.h"

namespace tabulon::workbook {

std::optional<CellPosition> parseCellReference(std::string_view text) {
    std::size_t i = 0;
    std::int64_t col = 0;
    while (i < text.size()) {
        char ch = text[i];
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        if (ch < 'A' || ch > 'Z') break;
        col = col * 26 + (ch - 'A' + 1);
        if (col > kMaxColumns) return std::nullopt;
        ++i;
    }
    if (col == 0) return std::nullopt;
    std::int64_t row = 0;
    const std::size_t digitsStart = i;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch < '0' || ch > '9') return std::nullopt;
        row = row * 10 + (ch - '0');
        if (row > kMaxRows) return std::nullopt;
    }
    if (i > digitsStart && row == 0) return std::nullopt;
    return CellPosition{static_cast<std::int32_t>(row), static_cast<std::int32_t>(col)};
}

std::string columnName(std::int32_t col) {
    std::string name;
    while (col > 0) {
        const int digit = (col - 1) % 26;
        name.insert(name.begin(), static_cast<char>('A' + digit));
        col = (col - 1) / 26;
    }
    return name;
}

std::string cellName(std::int32_t row, std::int32_t col) {
    return columnName(col) + std::to_string(row);
}

}  // namespace tabulon::workbook

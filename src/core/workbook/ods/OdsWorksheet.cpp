// Number cells shown with the text that the file stores for them.
#include "core/workbook/ods/OdsWorksheet.h"

namespace tabulon::workbook::ods {

void OdsWorksheet::finish() {
    cells().finish();
    localStrings().shrinkToFit();
    shown_.finish();
}

std::string OdsWorksheet::text(std::int32_t row, std::int32_t col) const {
    const std::size_t index = cells().indexOf(row, col);
    if (index == CellStore::kNone) return {};
    if (const auto shown = shown_.find(index)) return std::string(*shown);
    return textOf(cells().cell(index));
}

}  // namespace tabulon::workbook::ods

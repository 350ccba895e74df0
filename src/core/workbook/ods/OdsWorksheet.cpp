// Number cells shown with the text that the file stores for them.
#include "core/workbook/ods/OdsWorksheet.h"

namespace tabulon::workbook::ods {

bool OdsWorksheet::canTake(const OdsWorksheet& half) const {
    return half.cells().size() <= book().cellsLeft &&
           half.localStrings().charged() + half.shown_.charged() <= book().textBudget.left();
}

void OdsWorksheet::appendAll(OdsWorksheet& half, std::int32_t rowOffset) {
    const std::size_t cellOffset = cells().size();
    const auto textOffset = static_cast<std::uint32_t>(localStrings().size());
    shown_.appendAll(half.shown_, cellOffset);
    localStrings().appendAll(half.localStrings());
    const std::size_t count = half.cells().size();
    book().cellsLeft -= count;
    half.book().cellsLeft += count;
    cells().appendAll(half.cells(), rowOffset, textOffset);
}

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

// Where every reader stores the cells of one worksheet: each within the sheet's bounds and
// charged to the workbook's one cell budget.
#pragma once

#include <cstdint>

#include "core/workbook/ReadError.h"
#include "core/workbook/StoredWorksheet.h"

namespace tabulon::workbook {

class CellWriter {
  public:
    // place: the file, package entry and sheet that errors name.
    CellWriter(const WorkbookData& book, StoredWorksheet& sheet, ReadErrorPlace place)
        : book_(book), sheet_(sheet), place_(std::move(place)) {}

    // Appends the cell (row and column counted from 1) to the sheet's store. Throws ReadError:
    // CellOutOfBounds for a position outside the sheet, TooManyCells once the workbook's cells
    // are spent.
    void store(std::int32_t row, std::int32_t col, StoredKind kind, std::uint16_t style,
               double number, std::uint32_t index);

    const ReadErrorPlace& place() const { return place_; }

  private:
    const WorkbookData& book_;
    StoredWorksheet& sheet_;
    ReadErrorPlace place_;
};

}  // namespace tabulon::workbook

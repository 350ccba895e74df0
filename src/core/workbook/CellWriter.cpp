// Storing a reader's cell: bounds, the workbook's cell budget, then the sheet's store.
#include "core/workbook/CellWriter.h"

#include <string>

#include "core/Units.h"

namespace tabulon::workbook {

void CellWriter::store(std::int32_t row, std::int32_t col, StoredKind kind, std::uint16_t style,
                       double number, std::uint32_t index) {
    // The store packs rows into 21 bits and columns into 16: a position outside the sheet must
    // not reach it.
    if (row < 1 || row > kMaxRows)
        throw ReadError(ReadErrorKind::CellOutOfBounds, place_, "row " + std::to_string(row));
    if (col < 1 || col > kMaxColumns)
        throw ReadError(ReadErrorKind::CellOutOfBounds, place_,
                        "column " + std::to_string(col) + " of row " + std::to_string(row));
    if (book_.cellsLeft == 0) throw ReadError(ReadErrorKind::TooManyCells, place_);
    --book_.cellsLeft;
    sheet_.cells().append(row, col, kind, style, number, index);
}

}  // namespace tabulon::workbook

// Rows and cells with their repeats, stored in the worksheet row by row.
#include "core/workbook/ods/TableGrid.h"

#include <algorithm>

#include "core/Units.h"
#include "core/workbook/ods/RepeatCount.h"

namespace tabulon::workbook::ods {

namespace {

// Cells that repeats make out of one cell in the file: a few bytes must not fill the memory.
constexpr std::uint64_t kMaxRepeatedCells = 16'000'000;

}  // namespace

void TableGrid::fail(ReadErrorKind kind, std::string detail) const {
    throw ReadError(kind, writer_.place(), std::move(detail));
}

std::optional<ColumnRun> TableGrid::addColumns(MarkupAttributes attributes) {
    const std::int64_t count =
        repeatCount(findAttribute(attributes, "number-columns-repeated"), kMaxColumns);
    if (nextColumn_ > kMaxColumns) return std::nullopt;
    const auto last =
        static_cast<std::int32_t>(std::min<std::int64_t>(nextColumn_ + count - 1, kMaxColumns));
    const ColumnRun run{nextColumn_, last};
    nextColumn_ = last + 1;
    return run;
}

void TableGrid::startRow(MarkupAttributes attributes) {
    rowRepeat_ = repeatCount(findAttribute(attributes, "number-rows-repeated"), kMaxRows);
    col_ = 1;
    repeated_.clear();
}

void TableGrid::endRow() {
    // Repeated rows show the texts that the first one keeps; a row without cells, often
    // repeated to the sheet's last row, has nothing to repeat.
    if (!repeated_.empty())
        for (std::int64_t r = 1; r < rowRepeat_; ++r)
            for (RepeatedCell& cell : repeated_)
                store(static_cast<std::int32_t>(row_ + r), cell, true);
    row_ = std::min<std::int64_t>(row_ + rowRepeat_, kMaxRows + 1);
}

void TableGrid::store(std::int32_t row, RepeatedCell& cell, bool repeatedRow) {
    const CellContent& content = cell.content;
    for (std::int32_t i = 0; i < cell.count; ++i) {
        if (repeatedRow || i > 0) {
            if (++repeatedCells_ > kMaxRepeatedCells)
                fail(ReadErrorKind::TooLarge, "repeated cells");
        }
        const std::size_t index = sheet_.cells().size();
        writer_.store(row, cell.col + i, content.kind, content.style, content.number,
                      content.index);
        if (!content.shown) continue;
        if (cell.shownEntry) {
            sheet_.shownTexts().repeat(index, *cell.shownEntry);
        } else {
            cell.shownEntry = sheet_.shownTexts().add(index, content.shownText);
        }
    }
}

bool TableGrid::canFollow(const TableGrid& half) const {
    return row_ - 1 + half.lastRowPlaced_ <= kMaxRows &&
           repeatedCells_ + half.repeatedCells_ <= kMaxRepeatedCells;
}

void TableGrid::startCell(bool covered, MarkupAttributes attributes) {
    covered_ = covered;
    cellRepeat_ = repeatCount(findAttribute(attributes, "number-columns-repeated"), kMaxColumns);
}

std::int64_t TableGrid::endCell() {
    const std::int64_t first = col_;
    col_ = std::min<std::int64_t>(col_ + cellRepeat_, kMaxColumns + 1);
    return first;
}

void TableGrid::place(std::int64_t column, const CellContent& content) {
    if (column > kMaxColumns)
        fail(ReadErrorKind::CellOutOfBounds,
             "a cell after column XFD in row " + std::to_string(row_));
    if (row_ + rowRepeat_ - 1 > kMaxRows)
        fail(ReadErrorKind::CellOutOfBounds, "row " + std::to_string(row_ + rowRepeat_ - 1));
    lastRowPlaced_ = std::max(lastRowPlaced_, row_ + rowRepeat_ - 1);
    RepeatedCell cell{
        static_cast<std::int32_t>(column),
        static_cast<std::int32_t>(std::min<std::int64_t>(cellRepeat_, kMaxColumns - column + 1)),
        content, std::nullopt};
    store(static_cast<std::int32_t>(row_), cell, false);
    if (rowRepeat_ > 1) {
        // Its shown text is kept in the sheet from now on: the copies point back to it.
        cell.content.shownText = {};
        repeated_.push_back(cell);
    }
}

}  // namespace tabulon::workbook::ods

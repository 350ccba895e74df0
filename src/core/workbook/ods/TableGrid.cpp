// Tables, rows and cells with their repeats, stored in the worksheet row by row.
#include "core/workbook/ods/TableGrid.h"

#include <algorithm>
#include <memory>

#include "core/Units.h"
#include "core/workbook/ods/RepeatCount.h"

namespace tabulon::workbook::ods {

namespace {

// Cells that repeats make out of one cell in the file: a few bytes must not fill the memory.
constexpr std::uint64_t kMaxRepeatedCells = 16'000'000;

}  // namespace

void TableGrid::fail(ReadErrorKind kind, std::string detail) const {
    ReadErrorPlace place = place_;
    place.sheet = sheet_ ? sheet_->name() : std::string();
    throw ReadError(kind, std::move(place), std::move(detail));
}

void TableGrid::startTable(const xml::XmlAttributes& attributes, const OdsStyles& styles) {
    const char* name = attributes.find("name");
    const char* style = attributes.find("style-name");
    const SheetVisibility visibility = style != nullptr && styles.hidesTable(style)
                                           ? SheetVisibility::Hidden
                                           : SheetVisibility::Visible;
    auto sheet = std::make_unique<OdsWorksheet>(
        book_, name != nullptr ? name : "Sheet" + std::to_string(sheets_.size() + 1), visibility);
    sheet_ = sheet.get();
    sheets_.push_back(std::move(sheet));
    row_ = 1;
    nextColumn_ = 1;
}

void TableGrid::endTable() {
    sheet_->finish();
    sheet_ = nullptr;
}

std::optional<ColumnRun> TableGrid::addColumns(const xml::XmlAttributes& attributes) {
    const std::int64_t count = repeatCount(attributes.find("number-columns-repeated"), kMaxColumns);
    if (nextColumn_ > kMaxColumns) return std::nullopt;
    const auto last =
        static_cast<std::int32_t>(std::min<std::int64_t>(nextColumn_ + count - 1, kMaxColumns));
    const ColumnRun run{nextColumn_, last};
    nextColumn_ = last + 1;
    return run;
}

void TableGrid::startRow(const xml::XmlAttributes& attributes) {
    rowRepeat_ = repeatCount(attributes.find("number-rows-repeated"), kMaxRows);
    col_ = 1;
    pending_.clear();
}

void TableGrid::endRow() {
    if (!pending_.empty()) {
        if (row_ + rowRepeat_ - 1 > kMaxRows)
            fail(ReadErrorKind::CellOutOfBounds, "row " + std::to_string(row_ + rowRepeat_ - 1));
        for (std::int64_t r = 0; r < rowRepeat_; ++r)
            for (const PendingCell& cell : pending_)
                store(static_cast<std::int32_t>(row_ + r), cell, r > 0);
    }
    row_ = std::min<std::int64_t>(row_ + rowRepeat_, kMaxRows + 1);
}

void TableGrid::store(std::int32_t row, const PendingCell& cell, bool repeatedRow) {
    const CellContent& content = cell.content;
    for (std::int32_t i = 0; i < cell.count; ++i) {
        if (repeatedRow || i > 0) {
            if (++repeatedCells_ > kMaxRepeatedCells)
                fail(ReadErrorKind::TooLarge, "repeated cells");
        }
        if (cellBudget_ == 0) fail(ReadErrorKind::TooManyCells, {});
        --cellBudget_;
        const std::int32_t col = cell.col + i;
        sheet_->cells().append(row, col, content.kind, content.style, content.number,
                               content.index);
        if (content.hasShownText) sheet_->addShownText(row, col, content.shownText);
    }
}

void TableGrid::startCell(bool covered, const xml::XmlAttributes& attributes) {
    covered_ = covered;
    cellRepeat_ = repeatCount(attributes.find("number-columns-repeated"), kMaxColumns);
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
    pending_.push_back(
        {static_cast<std::int32_t>(column),
         static_cast<std::int32_t>(std::min<std::int64_t>(cellRepeat_, kMaxColumns - column + 1)),
         content});
}

}  // namespace tabulon::workbook::ods

// Where the cells of one table go: rows and cells placed with their repeats, covered cells passed
// over, and the bounds and limits that repeats must keep; each cell charged to the workbook's
// cell budget.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/workbook/CellWriter.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/ReadLimits.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ods/CellContent.h"
#include "core/workbook/ods/MarkupAttribute.h"
#include "core/workbook/ods/OdsWorksheet.h"

namespace tabulon::workbook::ods {

// Columns first to last, counted from 1.
struct ColumnRun {
    std::int32_t first;
    std::int32_t last;
};

class TableGrid {
  public:
    // place: the file and package entry that errors name, with the sheet.
    TableGrid(ReadErrorPlace place, const WorkbookData& book, OdsWorksheet& sheet)
        : sheet_(sheet), writer_(book, sheet, std::move(place)) {}

    // table:table-column: the columns it stands for; nothing once past the last column.
    std::optional<ColumnRun> addColumns(MarkupAttributes attributes);

    // table:table-row: its cells are stored as they come, and stored again for each repeat once
    // it ends.
    void startRow(MarkupAttributes attributes);
    void endRow();

    // table:table-cell, or table:covered-table-cell for a cell that a spanning cell covers.
    void startCell(bool covered, MarkupAttributes attributes);
    bool inCoveredCell() const { return covered_; }
    // The first column of the cell being read.
    std::int64_t column() const { return col_; }
    // Moves past the cell and its repeats; returns the cell's first column.
    std::int64_t endCell();
    // Stores the content in the row at the column and the cell's repeats after it. Throws
    // ReadError for a position past the last row or column.
    void place(std::int64_t column, const CellContent& content);

    // The columns that `other` has defined so far, for a grid that goes on from a later row.
    void takeColumns(const TableGrid& other) { nextColumn_ = other.nextColumn_; }
    // The row that the next table:table-row starts.
    std::int64_t nextRow() const { return row_; }
    // Whether `half`, a grid that read the rest of the table from row nextRow() on as its row 1,
    // stored what this one would have: its cells stay within the sheet and the repeats within
    // their limit once counted after these.
    bool canFollow(const TableGrid& half) const;

  private:
    // A cell of a row that repeats, to be stored again in each repeat.
    struct RepeatedCell {
        std::int32_t col;
        std::int32_t count;
        CellContent content;
        std::optional<std::uint64_t> shownEntry;  // where its shown text is kept
    };

    [[noreturn]] void fail(ReadErrorKind kind, std::string detail) const;
    // Stores the cell and its repeats in the row; the first store sets where its shown text is
    // kept.
    void store(std::int32_t row, RepeatedCell& cell, bool repeatedRow);

    OdsWorksheet& sheet_;
    CellWriter writer_;
    std::uint64_t repeatedCells_ = 0;
    std::int32_t nextColumn_ = 1;  // of the next table:table-column

    std::int64_t row_ = 1;
    std::int64_t rowRepeat_ = 1;
    std::int64_t col_ = 1;
    std::vector<RepeatedCell> repeated_;  // the cells of the current row, when it repeats
    std::int64_t lastRowPlaced_ = 0;      // the last row that a cell, with its repeats, reaches

    bool covered_ = false;
    std::int64_t cellRepeat_ = 1;
};

}  // namespace tabulon::workbook::ods

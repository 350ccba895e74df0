// Where the cells of content.xml go: one worksheet per table:table, rows and cells placed with
// their repeats, covered cells passed over, and the bounds and limits that repeats must keep.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/workbook/ReadError.h"
#include "core/workbook/ReadLimits.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ods/CellContent.h"
#include "core/workbook/ods/OdsStyles.h"
#include "core/workbook/ods/OdsWorksheet.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::ods {

// Columns first to last, counted from 1.
struct ColumnRun {
    std::int32_t first;
    std::int32_t last;
};

class TableGrid {
  public:
    // place: the file and package part that errors name.
    // The worksheets go to sheets, in order.
    TableGrid(ReadErrorPlace place, const WorkbookData& book,
              std::vector<std::unique_ptr<StoredWorksheet>>& sheets)
        : place_(std::move(place)), book_(book), sheets_(sheets) {}

    // table:table: adds its worksheet, hidden when its table style says so.
    void startTable(const xml::XmlAttributes& attributes, const OdsStyles& styles);
    void endTable();
    // The worksheet of the table being read; nullptr between tables.
    OdsWorksheet* sheet() const { return sheet_; }

    // table:table-column: the columns it stands for; nothing once past the last column.
    std::optional<ColumnRun> addColumns(const xml::XmlAttributes& attributes);

    // table:table-row: its cells are kept until it ends, then stored once for each repeat.
    void startRow(const xml::XmlAttributes& attributes);
    void endRow();

    // table:table-cell, or table:covered-table-cell for a cell that a spanning cell covers.
    void startCell(bool covered, const xml::XmlAttributes& attributes);
    bool inCoveredCell() const { return covered_; }
    // Moves past the cell and its repeats; returns the cell's first column.
    std::int64_t endCell();
    // Keeps the content for the row at the column and the cell's repeats after it. Throws
    // ReadError for a column past the last one.
    void place(std::int64_t column, const CellContent& content);

  private:
    // A cell of the current row.
    struct PendingCell {
        std::int32_t col;
        std::int32_t count;
        CellContent content;
    };

    [[noreturn]] void fail(ReadErrorKind kind, std::string detail) const;
    void store(std::int32_t row, const PendingCell& cell, bool repeatedRow);

    ReadErrorPlace place_;
    const WorkbookData& book_;
    std::vector<std::unique_ptr<StoredWorksheet>>& sheets_;
    std::uint64_t cellBudget_ = kMaxCells;
    std::uint64_t repeatedCells_ = 0;
    OdsWorksheet* sheet_ = nullptr;
    std::int32_t nextColumn_ = 1;  // of the next table:table-column

    std::int64_t row_ = 1;
    std::int64_t rowRepeat_ = 1;
    std::int64_t col_ = 1;
    std::vector<PendingCell> pending_;

    bool covered_ = false;
    std::int64_t cellRepeat_ = 1;
};

}  // namespace tabulon::workbook::ods

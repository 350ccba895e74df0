// What every reader fills: the data a workbook's sheets share, and worksheets whose cells sit in
// a CellStore, with formats compiled once.
#pragma once

#include <string>
#include <vector>

#include "core/numfmt/NumberFormat.h"
#include "core/workbook/CellStore.h"
#include "core/workbook/ReadLimits.h"
#include "core/workbook/StringPool.h"
#include "core/workbook/Worksheet.h"

namespace tabulon::workbook {

// What the sheets of one workbook share.
struct WorkbookData {
    bool date1904 = false;
    // What the text of all pools may still grow by; the sheets charge it through their const
    // reference to the book, so it is mutable.
    mutable TextBudget textBudget;
    // The cells that the held sheets may still store together (CellWriter charges them); a
    // sheet's are given back when it goes or is cleared.
    mutable std::uint64_t cellsLeft = kMaxCells;
    StringPool sharedStrings{&textBudget};
    // The number format of each cell format (style) index; index 0 always exists.
    std::vector<numfmt::NumberFormat> cellFormats;
};

class StoredWorksheet : public Worksheet {
  public:
    StoredWorksheet(const WorkbookData& book, std::string name, SheetVisibility visibility)
        : book_(book),
          name_(std::move(name)),
          visibility_(visibility),
          localStrings_(&book.textBudget) {}
    ~StoredWorksheet() override;
    StoredWorksheet(const StoredWorksheet&) = delete;
    StoredWorksheet& operator=(const StoredWorksheet&) = delete;

    const std::string& name() const override { return name_; }
    CellRange usedRange() const override { return cells_.bounds(); }
    std::string text(std::int32_t row, std::int32_t col) const override;
    CellValue value(std::int32_t row, std::int32_t col) const override;
    SheetVisibility visibility() const override { return visibility_; }

    // Filled by the readers.
    CellStore& cells() { return cells_; }
    const CellStore& cells() const { return cells_; }
    StringPool& localStrings() { return localStrings_; }
    const StringPool& localStrings() const { return localStrings_; }
    // Lets go of the cells and texts read so far (a sheet to be read again by another parser),
    // giving them back to the workbook's budgets.
    void clear();

  protected:
    const WorkbookData& book() const { return book_; }
    // The displayed text of a stored cell.
    std::string textOf(const StoredCell& cell) const;

  private:
    const numfmt::NumberFormat& formatOf(const StoredCell& cell) const;
    std::string_view stringOf(const StoredCell& cell) const;

    const WorkbookData& book_;
    std::string name_;
    SheetVisibility visibility_;
    CellStore cells_;
    StringPool localStrings_;  // inline strings, formula text results and error codes
};

}  // namespace tabulon::workbook

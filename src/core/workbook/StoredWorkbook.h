// The workbook and worksheets that every reader fills: cells in a CellStore, formats compiled once.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/numfmt/NumberFormat.h"
#include "core/workbook/CellStore.h"
#include "core/workbook/StringPool.h"
#include "core/workbook/Workbook.h"

namespace tabulon::workbook {

// What the sheets of one workbook share.
struct WorkbookData {
    bool date1904 = false;
    // What the text of all pools may still grow by; the sheets charge it through their const
    // reference to the book, so it is mutable.
    mutable TextBudget textBudget;
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

  protected:
    const WorkbookData& book() const { return book_; }

  private:
    const numfmt::NumberFormat& formatOf(const StoredCell& cell) const;
    std::string_view stringOf(const StoredCell& cell) const;

    const WorkbookData& book_;
    std::string name_;
    SheetVisibility visibility_;
    CellStore cells_;
    StringPool localStrings_;  // inline strings, formula text results and error codes
};

class StoredWorkbook : public Workbook {
  public:
    StoredWorkbook() = default;
    StoredWorkbook(const StoredWorkbook&) = delete;
    StoredWorkbook& operator=(const StoredWorkbook&) = delete;

    std::size_t worksheetCount() const override { return sheets_.size(); }
    const Worksheet& worksheet(std::size_t index) const override { return *sheets_.at(index); }
    bool date1904() const override { return data_.date1904; }

    WorkbookData& data() { return data_; }
    std::string notice() const override;
    StoredWorksheet& addWorksheet(std::string name, SheetVisibility visibility);
    // For readers whose sheets add to what the store keeps; the sheet refers to data().
    StoredWorksheet& addWorksheet(std::unique_ptr<StoredWorksheet> sheet);

  private:
    WorkbookData data_;
    std::vector<std::unique_ptr<StoredWorksheet>> sheets_;
};

}  // namespace tabulon::workbook

// A worksheet of an OpenDocument spreadsheet: the stored cells, and for numbers the text that
// the file itself shows for them.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ods/ShownTexts.h"

namespace tabulon::workbook::ods {

class OdsWorksheet : public StoredWorksheet {
  public:
    OdsWorksheet(const WorkbookData& book, std::string name, SheetVisibility visibility)
        : StoredWorksheet(book, std::move(name), visibility), shown_(&book.textBudget) {}

    // The texts shown by the cells, by their index in the store.
    ShownTexts& shownTexts() { return shown_; }
    // Whether the cells and texts of `half` fit the workbook's budgets beside these.
    bool canTake(const OdsWorksheet& half) const;
    // Moves the cells and texts of `half`, the later rows of the same table read into a sheet of
    // its own, after these, `rowOffset` rows further down, charging them to this workbook's
    // budgets (check canTake first). `half` is left empty.
    void appendAll(OdsWorksheet& half, std::int32_t rowOffset);
    // Call once after the last cell.
    void finish();

    std::string text(std::int32_t row, std::int32_t col) const override;

  private:
    ShownTexts shown_;
};

}  // namespace tabulon::workbook::ods

// A worksheet of an OpenDocument spreadsheet: the stored cells, and for numbers the text that
// the file itself shows for them.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "core/workbook/StoredWorksheet.h"

namespace tabulon::workbook::ods {

class OdsWorksheet : public StoredWorksheet {
  public:
    using StoredWorksheet::StoredWorksheet;

    // Keeps a shown text once for any number of cells.
    std::uint32_t addShownString(std::string_view text) { return shownStrings_.add(text); }
    // Gives a number cell a shown text; cells come in row and column order, as the store's do.
    void addShownText(std::int32_t row, std::int32_t col, std::uint32_t stringIndex);
    // Call once after the last cell.
    void finish();

    std::string text(std::int32_t row, std::int32_t col) const override;

  private:
    static std::uint64_t keyOf(std::int32_t row, std::int32_t col) {
        return (static_cast<std::uint64_t>(row) << 16) | static_cast<std::uint64_t>(col);
    }

    std::vector<std::pair<std::uint64_t, std::uint32_t>> shown_;
    StringPool shownStrings_{&book().textBudget};
};

}  // namespace tabulon::workbook::ods

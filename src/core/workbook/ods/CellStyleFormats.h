// The number format of each cell of a table, as an index into the book's cell formats: the
// cell's own style, else its row's default cell style, else its column's.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/workbook/ods/MarkupAttribute.h"
#include "core/workbook/ods/StyleFormats.h"

namespace tabulon::workbook::ods {

class CellStyleFormats {
  public:
    explicit CellStyleFormats(const StyleFormats& formats) : formats_(formats) {}

    // table:table-column over the columns first to last: their default cell style.
    void addColumns(std::int32_t first, std::int32_t last, MarkupAttributes attributes);
    // The column styles that `other` has read, for a table read on from a later row.
    void takeColumns(const CellStyleFormats& other) { columns_ = other.columns_; }
    // table:table-row: its default cell style.
    void startRow(MarkupAttributes attributes);

    // The format of a cell in the column whose own style is cellStyle (empty when it has none).
    std::uint16_t formatOf(std::string_view cellStyle, std::int64_t column);

  private:
    // The default cell style of a run of columns.
    struct ColumnStyle {
        std::int32_t first;
        std::int32_t last;
        std::uint16_t format;
    };

    const StyleFormats& formats_;
    std::vector<ColumnStyle> columns_;  // in column order
    bool rowStyled_ = false;
    std::uint16_t rowFormat_ = 0;
    // The cells of a column mostly share their style: the last one looked up in each column (its
    // number modulo the array's size).
    struct Recent {
        std::string style;
        std::uint16_t format = 0;
    };
    std::array<Recent, 64> recent_;
};

}  // namespace tabulon::workbook::ods

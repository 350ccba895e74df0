// One worksheet of an opened workbook: its name, used range and cells.
#pragma once

#include <cstdint>
#include <string>

#include "core/workbook/CellValue.h"

namespace tabulon::workbook {

// A block of cells, 1-based and inclusive.
struct CellRange {
    std::int32_t firstRow = 1;
    std::int32_t firstCol = 1;
    std::int32_t lastRow = 1;
    std::int32_t lastCol = 1;
};

enum class SheetVisibility { Visible, Hidden, VeryHidden };

class Worksheet {
  public:
    virtual ~Worksheet() = default;
    virtual const std::string& name() const = 0;
    // The bounding box of the cells the sheet stores (values or formatting); A1 alone for an
    // empty sheet, as the spreadsheet application reports it.
    virtual CellRange usedRange() const = 0;
    // The cell's displayed text: its value rendered through its number format.
    virtual std::string text(std::int32_t row, std::int32_t col) const = 0;
    virtual CellValue value(std::int32_t row, std::int32_t col) const = 0;
    // Hidden worksheets are worksheets all the same; this is kept for callers that care.
    virtual SheetVisibility visibility() const { return SheetVisibility::Visible; }
};

}  // namespace tabulon::workbook

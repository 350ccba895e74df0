// An opened workbook: its worksheets in workbook order (chart and dialog sheets are not among
// them). Opening reads what the sheets share; a worksheet's cells are read when it is first asked
// for and kept until it is released, so an export that goes sheet by sheet holds one at a time.
#pragma once

#include <cstddef>
#include <string>

#include "core/workbook/Worksheet.h"

namespace tabulon::workbook {

class Workbook {
  public:
    virtual ~Workbook() = default;
    virtual std::size_t worksheetCount() const = 0;
    // 0-based, in workbook order; known from opening, without reading the sheet's cells.
    virtual const std::string& worksheetName(std::size_t index) const = 0;
    // Known from opening too.
    virtual SheetVisibility worksheetVisibility(std::size_t index) const = 0;
    // The worksheet with its cells, read now when they are not held. Throws ReadError (naming
    // the file and the sheet) when they cannot be read; every later call throws it again.
    virtual const Worksheet& worksheet(std::size_t index) const = 0;
    // Lets go of the worksheet's cells for good: a reference to it is no longer valid, and a
    // later worksheet(index) is a programming error (std::logic_error).
    virtual void release(std::size_t index) const = 0;
    // True when serial day numbers count from 1904 rather than 1900.
    virtual bool date1904() const = 0;
    // A note for the user about what reading changed (text cut at the cell limit), or empty.
    virtual std::string notice() const { return {}; }
};

}  // namespace tabulon::workbook

// An opened workbook: its worksheets in workbook order (chart and dialog sheets are not among them).
#pragma once

#include <cstddef>
#include <string>

#include "core/workbook/Worksheet.h"

namespace tabulon::workbook {

class Workbook {
public:
    virtual ~Workbook() = default;
    virtual std::size_t worksheetCount() const = 0;
    // 0-based, in workbook order.
    virtual const Worksheet& worksheet(std::size_t index) const = 0;
    // True when serial day numbers count from 1904 rather than 1900.
    virtual bool date1904() const = 0;
    // A note for the user about what reading changed (text cut at the cell limit), or empty.
    virtual std::string notice() const { return {}; }
};

}  // namespace tabulon::workbook

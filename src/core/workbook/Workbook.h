// An opened workbook: its worksheets in workbook order (chart and dialog sheets are not among them).
#pragma once

#include <cstddef>

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
};

}  // namespace tabulon::workbook

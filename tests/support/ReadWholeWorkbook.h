// Opening a workbook and reading every worksheet's cells, so that damage in any sheet shows as
// the ReadError it gives.
#pragma once

#include <memory>
#include <string>

#include "core/workbook/WorkbookFile.h"

namespace tabulon::testing {

inline std::unique_ptr<workbook::Workbook> readWholeWorkbook(const std::string& path) {
    auto book = workbook::readWorkbookFile(path);
    for (std::size_t i = 0; i < book->worksheetCount(); ++i) (void)book->worksheet(i);
    return book;
}

}  // namespace tabulon::testing

// Reading one xlsx file through the sheetData scanner and through expat alone, and comparing the
// two results cell by cell.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/workbook/ReadError.h"
#include "core/workbook/Workbook.h"
#include "core/workbook/xlsx/SheetParser.h"

namespace tabulon::workbook::testing {

struct SheetReadOutcome {
    std::unique_ptr<Workbook> book;          // when the file was read
    std::optional<ReadErrorKind> errorKind;  // when it was refused
    std::string errorText;
    std::vector<xlsx::SheetPath> pathsTaken;  // of each worksheet read
};

// Opens the file as a zip package and reads it with the xlsx reader, worksheets by the path given.
SheetReadOutcome readThrough(const std::string& file, xlsx::SheetPath path);

// The first difference between the two outcomes (sheet names, used ranges, each stored cell's
// position, kind, style and value, or the error's kind and text), empty when there is none.
std::string firstDifference(const SheetReadOutcome& a, const SheetReadOutcome& b);

}  // namespace tabulon::workbook::testing

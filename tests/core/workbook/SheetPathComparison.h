// Reading one file through a reader's markup scanner (the xlsx sheetData scanner, the ods table
// scanner) and through expat alone, and comparing the two results cell by cell.
#pragma once

#include <memory>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "core/workbook/ReadError.h"
#include "core/workbook/Workbook.h"
#include "core/workbook/ods/OdsReader.h"
#include "core/workbook/xlsx/SheetParser.h"

namespace tabulon::workbook::testing {

struct SheetReadOutcome {
    std::unique_ptr<Workbook> book;          // when the file was read
    std::optional<ReadErrorKind> errorKind;  // when it was refused
    std::string errorText;
    std::vector<xlsx::SheetPath> pathsTaken;  // of each xlsx worksheet read
    std::vector<ods::TablePath> tablePaths;   // of each ods table read
    std::size_t halvesJoined = 0;             // ods tables read in two halves
};

// Opens the file as a zip package and reads it with the xlsx reader, worksheets by the path given.
SheetReadOutcome readThrough(const std::string& file, xlsx::SheetPath path);
// The same with the ods reader, tables of at least halvedSize bytes in two halves.
SheetReadOutcome readThrough(const std::string& file, ods::TablePath path,
                             std::uint64_t halvedSize = ods::OdsReadOptions{}.halvedSize);

// The first difference between the two outcomes (sheet names, used ranges, each stored cell's
// position, kind, style, value and shown text, or the error's kind and text), empty when there is
// none.
std::string firstDifference(const SheetReadOutcome& a, const SheetReadOutcome& b);

// The markup with one change: a byte removed, replaced or inserted, a stretch repeated or cut, two
// bytes swapped, one of the snippets (well-formed markup) inserted after a tag, a character written
// as a reference, or the markup cut short.
std::string mutated(std::string text, std::mt19937& random, std::span<const char* const> snippets);

}  // namespace tabulon::workbook::testing

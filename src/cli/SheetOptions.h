// What tabulon-cli does for --list and --sheet: the sheets of each workbook printed, and the
// chosen sheets that no workbook had reported.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "core/export/SheetChoice.h"
#include "core/workbook/PasswordSource.h"

namespace tabulon::cli {

// Prints the listing line of each chosen sheet of each file on `out` (every sheet without a
// choice); an encrypted workbook is opened with the passwords of the source (which may be null),
// as an export opens it. A workbook that cannot be read is one line on `err` and the others are
// still listed. Returns the number of workbooks that could not be read.
int listSheets(const std::vector<std::string>& files, SheetChoice* choice,
               workbook::PasswordSource* passwords, std::FILE* out, std::FILE* err);

// One line on `err` for each --sheet entry that chose no sheet of any workbook; returns their
// number.
int reportUnmatchedSheets(const SheetChoice& choice, std::FILE* err);

}  // namespace tabulon::cli

// The whole read of one workbook file, as an export makes it: open, then the text and value of
// every stored cell of every worksheet.
#pragma once

#include <string>

namespace tabulon::fuzz {

// A ReadError (a refused file) is a good outcome; any other exception escapes, for the fuzzer to
// report. The text of every cell must stay within the cell text limit and the format's reach.
void readEveryCell(const std::string& path);

}  // namespace tabulon::fuzz

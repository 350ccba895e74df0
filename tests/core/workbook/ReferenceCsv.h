// Comparing the engine's cell texts with the as-shown CSVs that LibreOffice made of the shared
// corpus: used by the corpus test of every reader.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "KnownDifferences.h"
#include "SharedData.h"
#include "core/workbook/Worksheet.h"

namespace tabulon::workbook::testing {

using ::tabulon::testing::Difference;
using ::tabulon::testing::kCorpus;

std::string readFile(const std::filesystem::path& path);

// A CSV as LibreOffice writes it: comma separated, fields quoted where needed with doubled
// quotes inside, LF line ends, line breaks allowed inside quoted fields.
std::vector<std::vector<std::string>> parseCsv(const std::string& text);

// Line breaks inside cells: LibreOffice writes LF where the cell holds CR LF or CR.
std::string normalizedBreaks(std::string text);

struct Agreement {
    long compared = 0;
    long equal = 0;
    std::vector<Difference> differences;  // without a reason
};

// Compares every cell that is not empty on at least one side; the differences name the file.
void compareSheet(const Worksheet& sheet, const std::string& file,
                  const std::vector<std::vector<std::string>>& expected, Agreement& agreement);

// Reads every corpus file that LibreOffice read ("ok") and whose name the filter takes, compares
// each worksheet that has a reference CSV, prints a line per file and returns the sum with every
// difference. Files the engine refuses are printed and left out of the sum.
Agreement compareCorpus(const std::function<bool(const std::string& fileName)>& filter);

// Prints the overall line of a comparison and returns the share of cells that agree (0 when
// nothing was compared).
double printOverall(const Agreement& overall);

}  // namespace tabulon::workbook::testing

// CSV files read back by Python's csv module (strict), the reader that a CSV consumer would use.
#pragma once

#include <sstream>

#include "CliProcess.h"

namespace tabulon::testing {

// The rows of a CSV file in `encoding` as Python's csv module (strict) reads them.
inline std::vector<std::vector<std::string>> readCsvWithPython(
    const std::filesystem::path& file, const std::string& delimiter = ",",
    const std::string& encoding = "utf-8") {
    // Each cell travels as hex, so that no byte of it is taken for a separator.
    const char* script =
        "import csv, sys\n"
        "with open(sys.argv[1], newline='', encoding=sys.argv[3]) as f:\n"
        "    for row in csv.reader(f, delimiter=sys.argv[2], strict=True):\n"
        "        print(','.join(cell.encode().hex() for cell in row))\n";
    const CliOutput python =
        runProgram(TABULON_PYTHON, {"-c", script, file.string(), delimiter, encoding});
    EXPECT_EQ(python.status, 0) << python.err;
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(python.out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> row(1);
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == ',') {
                row.emplace_back();
            } else {
                row.back() += static_cast<char>(std::stoi(line.substr(i++, 2), nullptr, 16));
            }
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace tabulon::testing

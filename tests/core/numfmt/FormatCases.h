// Reading the shared table of number-format cases (value, code, 1904 flag, expected text).
#pragma once

#include <string>
#include <vector>

namespace tabulon::numfmt::testing {

struct FormatCase {
    std::string id;
    std::string grade;
    std::string group;
    std::string format;
    char valueType = 'n';  // n number, s text, b boolean
    std::string value;
    bool date1904 = false;
    std::string expected;
};

// The cases of the given grades from cases.tsv; empty when the file cannot be read.
std::vector<FormatCase> loadFormatCases(const std::string& path, const std::string& grades);

// What the engine renders for a case. Booleans go through the text section as =TEXT() does,
// because the table holds =TEXT() results.
std::string renderCase(const FormatCase& c);

}  // namespace tabulon::numfmt::testing

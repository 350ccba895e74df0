// Reading the shared table of number-format cases (value, code, 1904 flag, expected text).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tabulon::numfmt::testing {

// The checked-in list of the cases that render otherwise than the table says, and why. Cases are
// listed under the table's file name, or under the workbook that a test wrote them into.
inline const std::filesystem::path kKnownDifferences = std::filesystem::path(TABULON_SOURCE_DIR) /
                                                       "tests" / "core" / "numfmt" /
                                                       "NumberFormatDifferences.tsv";
inline constexpr const char* kCasesFile = "cases.tsv";

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

// The cases of the given grades from cases.tsv. Throws std::runtime_error when the file cannot
// be read or a line does not have the table's fields.
std::vector<FormatCase> loadFormatCases(const std::string& path, const std::string& grades);

// What the engine renders for a case. Booleans go through the text section as =TEXT() does,
// because the table holds =TEXT() results.
std::string renderCase(const FormatCase& c);

}  // namespace tabulon::numfmt::testing

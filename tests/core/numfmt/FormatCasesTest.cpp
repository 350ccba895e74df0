// The grade A and B cases of the shared table rendered through NumberFormat.
#include <gtest/gtest.h>

#include <iostream>
#include <map>

#include "FormatCases.h"

namespace tabulon::numfmt::testing {
namespace {

// The share of cases that must render exactly as the spreadsheet application showed them.
constexpr double kRequiredPassRate = 0.995;

TEST(FormatCasesTest, GradeAAndBRenderAsTheApplicationShowedThem) {
    const auto cases = loadFormatCases(TABULON_SHARED_DIR "/vectors/cases.tsv", "AB");
    if (cases.empty()) GTEST_SKIP() << "shared vectors not available";
    std::size_t passed = 0;
    std::map<std::string, int> failuresByGroup;
    for (const FormatCase& c : cases) {
        const std::string got = renderCase(c);
        if (got == c.expected) {
            ++passed;
            continue;
        }
        ++failuresByGroup[c.group];
        std::cout << "FAIL id=" << c.id << " [" << c.group << "] format=" << c.format
                  << " value=" << c.value << (c.date1904 ? " (1904)" : "") << " expected=|"
                  << c.expected << "| got=|" << got << "|\n";
    }
    const double rate = static_cast<double>(passed) / static_cast<double>(cases.size());
    std::cout << "pass rate " << passed << "/" << cases.size() << " = " << rate * 100 << "%\n";
    for (const auto& [group, count] : failuresByGroup) {
        std::cout << "  failing group " << group << ": " << count << "\n";
    }
    EXPECT_GE(rate, kRequiredPassRate);
}

}  // namespace
}  // namespace tabulon::numfmt::testing

// The grade A and B cases of the shared table rendered through NumberFormat: each shows what the
// spreadsheet application showed, except where NumberFormatDifferences.tsv lists and explains a
// difference.
#include <gtest/gtest.h>

#include <iostream>

#include "FormatCases.h"
#include "KnownDifferences.h"
#include "SharedData.h"

namespace tabulon::numfmt::testing {
namespace {

using ::tabulon::testing::Difference;
using ::tabulon::testing::KnownDifferences;
using ::tabulon::testing::kVectors;

TEST(FormatCasesTest, GradeAAndBRenderAsTheApplicationShowedThem) {
    TABULON_REQUIRE_SHARED(kVectors / "cases.tsv");
    const auto cases = loadFormatCases((kVectors / "cases.tsv").string(), "AB");
    ASSERT_FALSE(cases.empty());
    std::vector<Difference> differences;
    for (const FormatCase& c : cases) {
        const std::string got = renderCase(c);
        if (got != c.expected) differences.push_back({kCasesFile, "", c.id, got, c.expected, {}});
    }
    std::cout << cases.size() - differences.size() << " of " << cases.size()
              << " cases render as expected\n";
    KnownDifferences(kKnownDifferences).check(
        differences, [](const Difference& row) { return row.file == kCasesFile; });
}

}  // namespace
}  // namespace tabulon::numfmt::testing

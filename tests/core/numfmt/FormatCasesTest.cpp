// The grade A and B cases of the shared table rendered through NumberFormat: each shows what the
// spreadsheet application showed, except where NumberFormatDifferences.tsv lists and explains a
// difference.
#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <stdexcept>

#include "FormatCases.h"
#include "KnownDifferences.h"
#include "ScratchFolder.h"
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
    KnownDifferences(kKnownDifferences).check(differences, [](const Difference& row) {
        return row.file == kCasesFile;
    });
}

TEST(FormatCasesTest, AnUnreadableOrMalformedTableIsAnError) {
    const ::tabulon::testing::ScratchFolder folder;
    EXPECT_THROW(loadFormatCases(folder.file("missing.tsv"), "AB"), std::runtime_error);
    const std::string shortLine = folder.file("short.tsv");
    std::ofstream(shortLine) << "id\tgrade\n1\tA\tsource\tgroup\t0.00\n";
    EXPECT_THROW(loadFormatCases(shortLine, "AB"), std::runtime_error);
}

}  // namespace
}  // namespace tabulon::numfmt::testing

// The lists of known differences: grouped reasons and escaped fields are read back, and the check
// fails on a new difference, on a changed text and on a listed difference that has gone.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <fstream>

#include "KnownDifferences.h"
#include "ScratchFolder.h"

namespace tabulon::testing {
namespace {

class KnownDifferencesTest : public ::testing::Test {
  protected:
    std::filesystem::path writeList(const std::string& rows) {
        const std::filesystem::path list = folder.file("list.tsv");
        std::ofstream(list) << "file\tsheet\tcell\tours\treference\twhy\n" << rows;
        return list;
    }

    ScratchFolder folder;
};

TEST_F(KnownDifferencesTest, ARowWithoutAReasonTakesTheReasonOfTheRowAbove) {
    const KnownDifferences list(
        writeList("a.xls\tS\tA1\t1\t2\tdigits\n"
                  "a.xls\tS\tA2\tx\\ty\tline\\nbreak\\\\\t\n"
                  "b.xls\tS\tB1\t3\t4\tother\n"));
    ASSERT_EQ(list.rows().size(), 3u);
    EXPECT_EQ(list.rows()[1].why, "digits");
    EXPECT_EQ(list.rows()[1].ours, "x\ty");
    EXPECT_EQ(list.rows()[1].reference, "line\nbreak\\");
    EXPECT_EQ(list.rows()[2].why, "other");
    EXPECT_EQ(listLine(list.rows()[1]), "a.xls\tS\tA2\tx\\ty\tline\\nbreak\\\\\tdigits");
}

TEST_F(KnownDifferencesTest, TheFirstRowNeedsAReason) {
    EXPECT_NONFATAL_FAILURE(KnownDifferences(writeList("a.xls\tS\tA1\t1\t2\t\n")),
                            "a reason in the first row of a group");
}

TEST_F(KnownDifferencesTest, OnlyTheListedDifferencesInScopePass) {
    const KnownDifferences list(
        writeList("a.xls\tS\tA1\t1\t2\tdigits\n"
                  "b.xls\tS\tB1\t3\t4\tother\n"));
    const auto onlyA = [](const Difference& row) { return row.file == "a.xls"; };
    list.check({{"a.xls", "S", "A1", "1", "2", ""}}, onlyA);
    EXPECT_NONFATAL_FAILURE(
        list.check({{"a.xls", "S", "A1", "1", "2", ""}, {"a.xls", "S", "A3", "5", "6", ""}}, onlyA),
        "a.xls\tS\tA3\t5\t6\t");
    EXPECT_NONFATAL_FAILURE(list.check({{"a.xls", "S", "A1", "1", "7", ""}}, onlyA),
                            "whose texts changed");
    EXPECT_NONFATAL_FAILURE(list.check({}, onlyA), "no longer occur");
}

}  // namespace
}  // namespace tabulon::testing

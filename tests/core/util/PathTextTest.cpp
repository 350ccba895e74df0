// Path cutting: which part of a path survives each cut.
#include <gtest/gtest.h>

#include "core/util/PathText.h"

namespace tabulon {
namespace {

const std::string S(1, pathSeparator());

TEST(GetFileName, CutsAtTheLastSeparator) {
    EXPECT_EQ(GetFileName(S + "data" + S + "Q1.xlsx"), "Q1.xlsx");
    EXPECT_EQ(GetFileName("Q1.xlsx"), "Q1.xlsx");
    EXPECT_EQ(GetFileName(S + "data" + S), "");
    EXPECT_EQ(GetFileName(""), "");
}

TEST(StripExtension, CutsAtTheLastDotOnly) {
    EXPECT_EQ(StripExtension("Book1.xlsx"), "Book1");
    EXPECT_EQ(StripExtension("archive.tar.gz"), "archive.tar");
    EXPECT_EQ(StripExtension(".profile"), "");
    EXPECT_EQ(StripExtension(S + "my.data" + S + "book"), S + "my");
}

TEST(StripExtension, TextWithoutDotIsReturnedUnchanged) {
    EXPECT_EQ(StripExtension("README"), "README");
    EXPECT_EQ(StripExtension(""), "");
}

TEST(JoinPath, NeverDoublesTheSeparator) {
    EXPECT_EQ(joinPath(S + "tmp", "a.csv"), S + "tmp" + S + "a.csv");
    EXPECT_EQ(joinPath(S + "tmp" + S, "a.csv"), S + "tmp" + S + "a.csv");
    EXPECT_EQ(joinPath(S, "a.csv"), S + "a.csv");
    EXPECT_EQ(joinPath(S, S + "a.csv"), S + "a.csv");
}

}  // namespace
}  // namespace tabulon

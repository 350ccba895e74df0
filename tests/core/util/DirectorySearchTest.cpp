// File attributes, wildcard names and the directory search's attribute filter and order.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "core/util/DirectorySearch.h"
#include "core/util/FileAttributes.h"
#include "core/util/NameMatching.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

using testing::ScratchFolder;

std::vector<std::string> AllNames(DirectorySearch search) {
    std::vector<std::string> names;
    for (std::string name = search.next(); !name.empty(); name = search.next())
        names.push_back(name);
    return names;
}

TEST(FileAttributesTest, BitsFollowOwnerWriteDotNamesAndEntryType) {
    ScratchFolder tmp;
    tmp.createFile("plain.xlsx");
    tmp.createFile("ro.xlsx");
    tmp.readOnly("ro.xlsx");
    tmp.createFile(".hidden.xlsx");
    tmp.createFile(".hidden-ro.xlsx");
    tmp.readOnly(".hidden-ro.xlsx");
    tmp.createFolder("Sub");
    tmp.createFolder(".git");

    EXPECT_EQ(fileAttributesOf(tmp.file("plain.xlsx")), 32);
    EXPECT_EQ(fileAttributesOf(tmp.file("ro.xlsx")), 33);
    EXPECT_EQ(fileAttributesOf(tmp.file(".hidden.xlsx")), 34);
    EXPECT_EQ(fileAttributesOf(tmp.file(".hidden-ro.xlsx")), 35);
    EXPECT_EQ(fileAttributesOf(tmp.file("Sub")), 16);
    EXPECT_EQ(fileAttributesOf(tmp.file("Sub") + pathSeparator()), 16);
    EXPECT_EQ(fileAttributesOf(tmp.file(".git")), 18);
    EXPECT_EQ(fileAttributesOf(tmp.file("missing")), kInvalidAttributes);
    EXPECT_EQ(fileAttributesOf(""), kInvalidAttributes);
}

TEST(NameMatchingTest, WildcardsMatchWithoutRegardToCase) {
    EXPECT_TRUE(matchesWildcard("BOOK.XLSX", "*.xl*"));
    EXPECT_TRUE(matchesWildcard("book.xls", "*.XL*"));
    EXPECT_TRUE(matchesWildcard("a.b.xlsm", "*.xl*"));
    EXPECT_FALSE(matchesWildcard("book.csv", "*.xl*"));
    EXPECT_FALSE(matchesWildcard("xlsx", "*.xl*"));
    EXPECT_TRUE(matchesWildcard("abc", "a?c"));
    EXPECT_FALSE(matchesWildcard("ac", "a?c"));
    EXPECT_TRUE(
        matchesWildcard("a\xC3\xA9"
                        "c",
                        "a?c"));  // "?" is one character, not one byte
    EXPECT_TRUE(matchesWildcard("\xC3\x89T\xC3\x89.TXT", "\xC3\xA9t\xC3\xA9.txt"));
    EXPECT_TRUE(matchesWildcard("aXbXc", "*X*c"));
    EXPECT_FALSE(matchesWildcard("aXbXcd", "*X*c"));
}

TEST(NameMatchingTest, StarDotStarAlsoMatchesNamesWithoutDot) {
    EXPECT_TRUE(matchesWildcard("README", "*.*"));
    EXPECT_TRUE(matchesWildcard("notes.txt", "*.*"));
    EXPECT_TRUE(matchesWildcard("book", "book.*"));
    EXPECT_FALSE(matchesWildcard("README", "*.xl*"));
}

TEST(DirectorySearchTest, DirectoryBitReturnsVisibleFilesAndFoldersInNameOrder) {
    ScratchFolder tmp;
    tmp.createFile("b.xlsx");
    tmp.createFile("A.xlsx");
    tmp.createFile(".hidden.xlsx");
    tmp.createFolder("C");
    tmp.createFolder(".cache");
    EXPECT_EQ(AllNames(DirectorySearch(tmp.path().string() + pathSeparator(), kAttrDirectory)),
              (std::vector<std::string>{"A.xlsx", "b.xlsx", "C"}));
}

TEST(DirectorySearchTest, HiddenPlusSystemReturnsEveryFileButNoFolders) {
    ScratchFolder tmp;
    tmp.createFile("b.xlsx");
    tmp.createFile(".hidden.xlsx");
    tmp.createFile("c.txt");
    tmp.createFolder("D.xlsx");
    EXPECT_EQ(AllNames(DirectorySearch(tmp.file("*.XL*"), kAttrHidden | kAttrSystem)),
              (std::vector<std::string>{".hidden.xlsx", "b.xlsx"}));
    EXPECT_EQ(AllNames(DirectorySearch(tmp.file("*.xl*"), 0)),
              (std::vector<std::string>{"b.xlsx"}));
}

TEST(DirectorySearchTest, MissingFolderGivesEmptySearch) {
    ScratchFolder tmp;
    DirectorySearch search(tmp.file("missing") + pathSeparator() + "*.*", kAttrDirectory);
    EXPECT_EQ(search.next(), "");
    EXPECT_EQ(search.next(), "");
}

}  // namespace
}  // namespace tabulon

// ListFiles's array shape and names, and the level-by-level walk of CollectSubfolders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "ScriptedUi.h"
#include "core/Error.h"
#include "core/util/CollectSubfolders.h"
#include "core/util/ListFiles.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

using testing::ScratchFolder;
using testing::ScriptedUi;

std::vector<std::string> namesOf(const FileNameArray& array) {
    std::vector<std::string> names;
    for (int i = 1; i <= array.upperBound(); ++i) names.push_back(array[i]);
    return names;
}

// Makes count files "f001.xlsx", "f002.xlsx", ... and returns their names in that order.
std::vector<std::string> makeBooks(const ScratchFolder& tmp, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%03d.xlsx", i);
        tmp.createFile(name);
        names.push_back(name);
    }
    return names;
}

std::string dir(const ScratchFolder& tmp, const std::string& relative) {
    return tmp.file(relative) + pathSeparator();
}

TEST(ListFilesTest, NoMatchGivesOneEmptyElementAtIndexZero) {
    ScratchFolder tmp;
    tmp.createFile("notes.txt");
    tmp.createFolder("Sub.xlsx");
    const FileNameArray names = ListFiles(tmp.path().string(), "*.xl*");
    EXPECT_EQ(names.lowerBound(), 0);
    EXPECT_EQ(names.upperBound(), 0);
    EXPECT_EQ(names[0], "");
    EXPECT_THROW(names[1], Error);
    EXPECT_EQ(ListFiles(tmp.file("missing"), "*.*").upperBound(), 0);
}

TEST(ListFilesTest, HundredAndHundredAndOneMatchesKeepEveryNameInOrder) {
    for (const int count : {100, 101}) {
        ScratchFolder tmp;
        const std::vector<std::string> books = makeBooks(tmp, count);
        tmp.createFile("other.txt");
        const FileNameArray names = ListFiles(tmp.path().string(), "*.xlsx");
        EXPECT_EQ(names.lowerBound(), 1);
        EXPECT_EQ(names.upperBound(), count);
        EXPECT_EQ(namesOf(names), books);
        EXPECT_THROW(names[0], Error);
        EXPECT_THROW(names[count + 1], Error);
    }
}

TEST(ListFilesTest, TrailingSeparatorMakesNoDifferenceAndHiddenFilesAreListed) {
    ScratchFolder tmp;
    tmp.createFile("Book.XLSX");
    tmp.createFile(".~lock.book.csv#");
    tmp.createFile(".hidden.xls");
    tmp.createFolder("folder.xls");
    const std::vector<std::string> expected{".hidden.xls", "Book.XLSX"};
    EXPECT_EQ(namesOf(ListFiles(tmp.path().string(), "*.xl*")), expected);
    EXPECT_EQ(namesOf(ListFiles(tmp.path().string() + pathSeparator(), "*.xl*")), expected);
}

TEST(CollectSubfoldersTest, TreeIsAddedLevelByLevelGroupedByParent) {
    ScratchFolder tmp;
    tmp.createFolder("A/B/D");
    tmp.createFolder("A/C/E/F");
    tmp.createFile("A/book.xlsx");
    tmp.createFile("A/B/book.xlsx");
    ScriptedUi ui;
    std::vector<std::string> collection{dir(tmp, "A")};
    CollectSubfolders(collection, true, ui);
    EXPECT_EQ(collection, (std::vector<std::string>{dir(tmp, "A"), dir(tmp, "A/B"), dir(tmp, "A/C"),
                                                    dir(tmp, "A/B/D"), dir(tmp, "A/C/E"),
                                                    dir(tmp, "A/C/E/F")}));
    // One pass per folder searched (6), per entry read (3 + 2 + 1 + 1) and per folder appended
    // on the way back up (F to [D, E], then D to F to [B, C], then B to F to [A]).
    EXPECT_EQ(ui.eventPasses, 6 + 7 + 1 + 3 + 5);
}

TEST(CollectSubfoldersTest, WithoutRecursionOnlyChildrenAreAdded) {
    ScratchFolder tmp;
    tmp.createFolder("A/B/D");
    tmp.createFolder("A/C");
    ScriptedUi ui;
    std::vector<std::string> collection{dir(tmp, "A")};
    CollectSubfolders(collection, false, ui);
    EXPECT_EQ(collection,
              (std::vector<std::string>{dir(tmp, "A"), dir(tmp, "A/B"), dir(tmp, "A/C")}));
}

TEST(CollectSubfoldersTest, FolderWithoutSubfoldersLeavesCollectionUnchanged) {
    ScratchFolder tmp;
    tmp.createFile("A/book.xlsx");
    ScriptedUi ui;
    std::vector<std::string> collection{dir(tmp, "A")};
    CollectSubfolders(collection, true, ui);
    EXPECT_EQ(collection, std::vector<std::string>{dir(tmp, "A")});
}

TEST(CollectSubfoldersTest, HiddenFoldersAndNamesWithQuestionMarkAreNeitherAddedNorEntered) {
    ScratchFolder tmp;
    tmp.createFolder("A/.git/objects");
    tmp.createFolder("A/wh?t/inner");
    tmp.createFolder("A/Visible");
    ScriptedUi ui;
    std::vector<std::string> collection{dir(tmp, "A")};
    CollectSubfolders(collection, true, ui);
    EXPECT_EQ(collection, (std::vector<std::string>{dir(tmp, "A"), dir(tmp, "A/Visible")}));
}

TEST(CollectSubfoldersTest, SymbolicLinkLoopsEndAndEveryFolderIsEnteredOnce) {
    ScratchFolder tmp;
    tmp.createFolder("A/B/D");
    std::filesystem::create_directory_symlink(tmp.file("A"), tmp.file("A/B/D/up"));
    std::filesystem::create_directory_symlink(tmp.file("A/B"), tmp.file("A/B/self"));
    std::filesystem::create_directory_symlink(tmp.file("Outside"), tmp.file("A/Z-out"));
    tmp.createFolder("Outside/Inner");
    ScriptedUi ui;
    std::vector<std::string> collection{dir(tmp, "A")};
    CollectSubfolders(collection, true, ui);
    EXPECT_EQ(collection,
              (std::vector<std::string>{dir(tmp, "A"), dir(tmp, "A/B"), dir(tmp, "A/Z-out"),
                                        dir(tmp, "A/B/D"), dir(tmp, "A/Z-out/Inner")}));
}

// Runs a callback at every event pass, as a window handler would run during a long walk.
class HandlerDuringWalk : public ScriptedUi {
  public:
    std::function<void()> handler;
    void processEvents() override {
        ScriptedUi::processEvents();
        if (handler) handler();
    }
};

TEST(CollectSubfoldersTest, SearchesStartedByHandlersDoNotMoveTheWalk) {
    ScratchFolder tmp;
    tmp.createFolder("A/B/D");
    tmp.createFolder("A/C");
    makeBooks(tmp, 3);
    HandlerDuringWalk ui;
    int handlerRuns = 0;
    ui.handler = [&] {
        ++handlerRuns;
        ScriptedUi inner;
        std::vector<std::string> other{tmp.path().string() + pathSeparator()};
        CollectSubfolders(other, false, inner);
        EXPECT_EQ(ListFiles(tmp.path().string(), "*.xlsx").upperBound(), 3);
    };
    std::vector<std::string> collection{dir(tmp, "A")};
    CollectSubfolders(collection, true, ui);
    EXPECT_EQ(collection, (std::vector<std::string>{dir(tmp, "A"), dir(tmp, "A/B"), dir(tmp, "A/C"),
                                                    dir(tmp, "A/B/D")}));
    EXPECT_EQ(handlerRuns, ui.eventPasses);
}

}  // namespace
}  // namespace tabulon

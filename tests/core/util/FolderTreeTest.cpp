// Which files a folder tree and a drop bring into the file list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "ScriptedUi.h"
#include "core/util/DroppedPaths.h"
#include "core/util/FolderPathText.h"
#include "core/util/FolderTree.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

using testing::ScratchFolder;
using testing::ScriptedUi;

TEST(FolderTreeTest, TreeFilesComeFolderByFolderWithLockAndWritableHiddenFilesLeftOut) {
    ScratchFolder tmp;
    tmp.createFile("A/Book.xlsx");
    tmp.createFile("A/~$Book.xlsx");
    tmp.createFile("A/notes.txt");
    tmp.createFile("A/.draft.xlsx");
    tmp.createFile("A/.kept.xlsx");
    tmp.readOnly("A/.kept.xlsx");
    tmp.createFile("A/C/c.XLS");
    tmp.createFile("A/B/D/d.xlsm");
    tmp.createFile("A/B/b.xlsx");
    tmp.createFile("A/.hidden/h.xlsx");
    tmp.createFile("A/ro.xlsx");
    tmp.readOnly("A/ro.xlsx");
    ScriptedUi ui;
    EXPECT_EQ(folderTreeFiles(tmp.file("A"), "*.xl*", ui),
              (std::vector<std::string>{tmp.file("A/.kept.xlsx"), tmp.file("A/Book.xlsx"),
                                        tmp.file("A/ro.xlsx"), tmp.file("A/B/b.xlsx"),
                                        tmp.file("A/C/c.XLS"), tmp.file("A/B/D/d.xlsm")}));
    EXPECT_GT(ui.eventPasses, 0);
}

TEST(FolderTreeTest, StarDotStarTakesEveryFileWhateverItsType) {
    ScratchFolder tmp;
    tmp.createFile("A/README");
    tmp.createFile("A/notes.txt");
    tmp.createFile("A/~lock");
    tmp.createFile("A/S/picture.png");
    ScriptedUi ui;
    const std::vector<std::string> expected{tmp.file("A/notes.txt"), tmp.file("A/README"),
                                            tmp.file("A/S/picture.png")};
    EXPECT_EQ(folderTreeFiles(tmp.file("A"), "*.*", ui), expected);
    EXPECT_EQ(folderTreeFiles(tmp.file("A") + pathSeparator(), "*.*", ui), expected);
}

TEST(FolderTreeTest, AddFolderTreeKeepsCollectionOrderAndFindsNothingQuietly) {
    ScratchFolder tmp;
    tmp.createFile("X/x.xlsx");
    tmp.createFile("Y/y.xlsx");
    tmp.createFolder("Empty");
    const std::string sep(1, pathSeparator());
    EXPECT_EQ(AddFolderTree({tmp.file("Y") + sep, tmp.file("Empty") + sep, tmp.file("X") + sep},
                            "*.xlsx"),
              (std::vector<std::string>{tmp.file("Y/y.xlsx"), tmp.file("X/x.xlsx")}));
    EXPECT_TRUE(AddFolderTree({tmp.file("Empty") + sep, tmp.file("gone") + sep}, "*.*").empty());
}

TEST(FolderPathTextTest, RootIsNeverDoubled) {
    const std::string sep(1, pathSeparator());
    EXPECT_EQ(withTrailingSeparator("data"), "data" + sep);
    EXPECT_EQ(withTrailingSeparator("data" + sep), "data" + sep);
    EXPECT_EQ(withTrailingSeparator(sep), sep);
    if (sep == "/") {
        EXPECT_EQ(repairRootSeparator("//Book.xlsx"), "/Book.xlsx");
        EXPECT_EQ(repairRootSeparator("/data/Book.xlsx"), "/data/Book.xlsx");
    } else {
        EXPECT_EQ(repairRootSeparator("C:\\\\Book.xlsx"), "C:\\Book.xlsx");
        EXPECT_EQ(repairRootSeparator("\\\\server\\share\\b.xls"), "\\\\server\\share\\b.xls");
    }
}

TEST(DroppedPathsTest, FilesComeAsDroppedAndFoldersAsTheirWholeTree) {
    ScratchFolder tmp;
    const std::string first = tmp.createFile("drop/report.txt");
    const std::string second = tmp.createFile("drop/.hidden.xlsx");
    tmp.createFile("tree/a.xlsx");
    tmp.createFile("tree/~$a.xlsx");
    tmp.createFile("tree/sub/image.png");
    tmp.createFile("other/o.xls");
    const std::string gone = tmp.file("drop/gone.xlsx");
    ScriptedUi ui;
    EXPECT_EQ(droppedPathEntries({first, tmp.file("tree"), second, gone}, ui),
              (std::vector<std::string>{first, tmp.file("tree/a.xlsx"),
                                        tmp.file("tree/sub/image.png"), second, gone}));
    EXPECT_EQ(droppedPathEntries({tmp.file("tree"), tmp.file("other")}, ui),
              (std::vector<std::string>{tmp.file("tree/a.xlsx"), tmp.file("tree/sub/image.png"),
                                        tmp.file("other/o.xls")}));
}

TEST(DroppedPathsTest, HiddenFolderIsNotSeenAsFolderAndComesAsDropped) {
    ScratchFolder tmp;
    tmp.createFile(".config/a.xlsx");
    ScriptedUi ui;
    EXPECT_EQ(droppedPathEntries({tmp.file(".config")}, ui),
              std::vector<std::string>{tmp.file(".config")});
}

}  // namespace
}  // namespace tabulon

// Which files a folder tree and a drop bring into the file list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedUi.h"
#include "TempFolder.h"
#include "core/util/DroppedPaths.h"
#include "core/util/FolderPathText.h"
#include "core/util/FolderTree.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

using testing::ScriptedUi;
using testing::TempFolder;

TEST(FolderTreeTest, TreeFilesComeFolderByFolderWithLockAndWritableHiddenFilesLeftOut) {
    TempFolder tmp;
    tmp.file("A/Book.xlsx");
    tmp.file("A/~$Book.xlsx");
    tmp.file("A/notes.txt");
    tmp.file("A/.draft.xlsx");
    tmp.file("A/.kept.xlsx");
    tmp.readOnly("A/.kept.xlsx");
    tmp.file("A/C/c.XLS");
    tmp.file("A/B/D/d.xlsm");
    tmp.file("A/B/b.xlsx");
    tmp.file("A/.hidden/h.xlsx");
    tmp.file("A/ro.xlsx");
    tmp.readOnly("A/ro.xlsx");
    ScriptedUi ui;
    EXPECT_EQ(FolderTreeFiles(tmp.path("A"), "*.xl*", ui),
              (std::vector<std::string>{tmp.path("A/.kept.xlsx"), tmp.path("A/Book.xlsx"),
                                        tmp.path("A/ro.xlsx"), tmp.path("A/B/b.xlsx"),
                                        tmp.path("A/C/c.XLS"), tmp.path("A/B/D/d.xlsm")}));
    EXPECT_GT(ui.eventPasses, 0);
}

TEST(FolderTreeTest, StarDotStarTakesEveryFileWhateverItsType) {
    TempFolder tmp;
    tmp.file("A/README");
    tmp.file("A/notes.txt");
    tmp.file("A/~lock");
    tmp.file("A/S/picture.png");
    ScriptedUi ui;
    const std::vector<std::string> expected{tmp.path("A/notes.txt"), tmp.path("A/README"),
                                            tmp.path("A/S/picture.png")};
    EXPECT_EQ(FolderTreeFiles(tmp.path("A"), "*.*", ui), expected);
    EXPECT_EQ(FolderTreeFiles(tmp.path("A") + PathSeparator(), "*.*", ui), expected);
}

TEST(FolderTreeTest, AddFolderTreeKeepsCollectionOrderAndFindsNothingQuietly) {
    TempFolder tmp;
    tmp.file("X/x.xlsx");
    tmp.file("Y/y.xlsx");
    tmp.folder("Empty");
    const std::string sep(1, PathSeparator());
    EXPECT_EQ(AddFolderTree({tmp.path("Y") + sep, tmp.path("Empty") + sep, tmp.path("X") + sep},
                            "*.xlsx"),
              (std::vector<std::string>{tmp.path("Y/y.xlsx"), tmp.path("X/x.xlsx")}));
    EXPECT_TRUE(AddFolderTree({tmp.path("Empty") + sep, tmp.path("gone") + sep}, "*.*").empty());
}

TEST(FolderPathTextTest, RootIsNeverDoubled) {
    const std::string sep(1, PathSeparator());
    EXPECT_EQ(WithTrailingSeparator("data"), "data" + sep);
    EXPECT_EQ(WithTrailingSeparator("data" + sep), "data" + sep);
    EXPECT_EQ(WithTrailingSeparator(sep), sep);
    if (sep == "/") {
        EXPECT_EQ(RepairRootSeparator("//Book.xlsx"), "/Book.xlsx");
        EXPECT_EQ(RepairRootSeparator("/data/Book.xlsx"), "/data/Book.xlsx");
    } else {
        EXPECT_EQ(RepairRootSeparator("C:\\\\Book.xlsx"), "C:\\Book.xlsx");
        EXPECT_EQ(RepairRootSeparator("\\\\server\\share\\b.xls"), "\\\\server\\share\\b.xls");
    }
}

TEST(DroppedPathsTest, FilesComeAsDroppedAndFoldersAsTheirWholeTree) {
    TempFolder tmp;
    const std::string first = tmp.file("drop/report.txt");
    const std::string second = tmp.file("drop/.hidden.xlsx");
    tmp.file("tree/a.xlsx");
    tmp.file("tree/~$a.xlsx");
    tmp.file("tree/sub/image.png");
    tmp.file("other/o.xls");
    const std::string gone = tmp.path("drop/gone.xlsx");
    ScriptedUi ui;
    EXPECT_EQ(DroppedPathEntries({first, tmp.path("tree"), second, gone}, ui),
              (std::vector<std::string>{first, tmp.path("tree/a.xlsx"),
                                        tmp.path("tree/sub/image.png"), second, gone}));
    EXPECT_EQ(DroppedPathEntries({tmp.path("tree"), tmp.path("other")}, ui),
              (std::vector<std::string>{tmp.path("tree/a.xlsx"), tmp.path("tree/sub/image.png"),
                                        tmp.path("other/o.xls")}));
}

TEST(DroppedPathsTest, HiddenFolderIsNotSeenAsFolderAndComesAsDropped) {
    TempFolder tmp;
    tmp.file(".config/a.xlsx");
    ScriptedUi ui;
    EXPECT_EQ(DroppedPathEntries({tmp.path(".config")}, ui),
              std::vector<std::string>{tmp.path(".config")});
}

}  // namespace
}  // namespace tabulon

// "Add Excel File(s)" through the open-file dialog and "Add All Excel Files In Folder".
#include "FileListFixture.h"
#include "FolderFixture.h"
#include "filelist/UnreadableFoldersNotice.h"

namespace tabulon::testing {
namespace {

constexpr const char* kExtensionPrompt =
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc "
    "files, etc.)";

TEST_F(FileListTest, TheDialogAsksForExcelFilesWithMultipleSelection) {
    click(form->PushButton1);
    ASSERT_EQ(ui.openRequests.size(), 1u);
    EXPECT_EQ(ui.openRequests[0].title, "Add File(s) - Hold Ctrl to select multiple files");
    EXPECT_EQ(ui.openRequests[0].filter,
              "Workbooks (*.xlsx *.xlsm *.xltx *.xltm *.xls *.xlsb *.ods);;Excel Files (*.xl*)");
    EXPECT_TRUE(ui.openRequests[0].multiSelect);
    EXPECT_EQ(list->itemCount(), 0);  // cancelled
    expectSilence();
}

TEST_F(FileListTest, OneChosenFileIsAppendedAsGivenAndSeveralAfterTheEntriesThere) {
    fill({"first"});
    ui.fileChoices.push_back({"/data/Book One.xlsx"});
    ui.fileChoices.push_back({"/data/q/a.xls", "/data/q/b.xls", "/data/q/c.xls"});
    click(form->PushButton1);
    click(form->PushButton1);
    EXPECT_EQ(texts(), QStringList({"first", "/data/Book One.xlsx", "/data/q/a.xls",
                                    "/data/q/b.xls", "/data/q/c.xls"}));
    expectSilence();
}

TEST_F(FileListTest, SeveralFilesFromTheRootFolderGetNoDoubledSeparator) {
    ui.fileChoices.push_back({"/a.xls", "/b.xls", "/c.xls"});
    click(form->PushButton1);
    EXPECT_EQ(texts(), QStringList({"/a.xls", "/b.xls", "/c.xls"}));
}

TEST_F(FileListTest, AChoiceTooLongForTheDialogAddsNothingAndSuggestsAddAll) {
    std::vector<std::string> many;
    for (int i = 0; i < 400; ++i)
        many.push_back("/data/" + std::string(90, 'n') + std::to_string(i) + ".xlsx");
    ui.fileChoices.push_back(many);
    click(form->PushButton1);
    EXPECT_EQ(list->itemCount(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "You've selected too many files to add.\r\rPlease try adding via the \"Add All\" "
              "button.");
    EXPECT_EQ(ui.boxes[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.boxes[0].icon, Icon::None);
    EXPECT_EQ(ui.boxes[0].title, "Tabulon");
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(FileListTest, FolderAddTakesTheTreesMatchingFilesFolderByFolder) {
    FolderTree tree;
    const QString book = tree.file("Book.xlsx");
    tree.file("notes.txt");
    tree.file("~$Book.xlsx");
    tree.file(".hidden.xlsx");
    const QString hiddenReadOnly = tree.file(".kept.xlsx", false);
    const QString deep = tree.file("sub/deeper/Deep.XLSM");
    const QString sub = tree.file("sub/Sub.xls");
    ui.inputs.push_back("xl*");
    ui.folderChoices.push_back(tree.folder().toStdString());
    click(form->PushButton4);

    QStringList expected{book, hiddenReadOnly};
    QStringList got = texts();
    ASSERT_EQ(got.size(), 4);
    // Within a folder the order is the directory search's; across folders it is level by level.
    QStringList top = got.mid(0, 2);
    top.sort();
    expected.sort();
    EXPECT_EQ(top, expected);
    EXPECT_EQ(got.mid(2), QStringList({sub, deep}));
    EXPECT_EQ(form->mousePointer(), MousePointer::Default);
    expectSilence();
}

TEST_F(FileListTest, FolderAddAsksForTheExtensionWithXlStarEveryTimeAndStoresTheAnswer) {
    FolderTree tree;
    tree.file("a.xlsx");
    const QString text = tree.file("b.txt");
    ui.inputs.push_back("txt");
    ui.folderChoices.push_back(tree.folder().toStdString());
    ui.inputs.push_back("*");  // its folder picker is then cancelled
    click(form->PushButton4);
    click(form->PushButton4);

    EXPECT_EQ(texts(), QStringList({text}));
    ASSERT_EQ(ui.inputRequests.size(), 2u);
    for (const auto& request : ui.inputRequests) {
        EXPECT_EQ(request.prompt, kExtensionPrompt);
        EXPECT_EQ(request.title, "Tabulon");
        EXPECT_EQ(request.defaultText, "xl*");
    }
    EXPECT_EQ(ui.folderPrompts, std::vector<std::string>({"Please select folder to add:",
                                                          "Please select folder to add:"}));
    EXPECT_EQ(settings.get(kKeyExtension, "none"), "*");
    expectSilence();
}

TEST_F(FileListTest, AStarAddsEveryFileAndACancelledInputLeavesTheExtensionAlone) {
    FolderTree tree;
    tree.file("a.xlsx");
    tree.file("b.txt");
    tree.file("noextension");
    settings.save(kKeyExtension, "doc");
    click(form->PushButton4);  // input box cancelled
    EXPECT_EQ(settings.get(kKeyExtension, "none"), "doc");
    EXPECT_TRUE(ui.folderPrompts.empty());

    ui.inputs.push_back("*");
    ui.folderChoices.push_back(tree.folder().toStdString());
    click(form->PushButton4);
    EXPECT_EQ(list->itemCount(), 3);
    EXPECT_EQ(settings.get(kKeyExtension, "none"), "*");
}

TEST(UnreadableFoldersNoticeTest, NamesTenFoldersAndCountsTheRest) {
    std::vector<UnreadableFolder> folders;
    for (int i = 1; i <= 12; ++i)
        folders.push_back({"/d/" + std::to_string(i), "Permission denied"});
    const std::string lead = "These folders could not be read, so their files are not in the list:";
    EXPECT_EQ(unreadableFoldersNotice({folders.begin(), folders.begin() + 1}),
              lead + "\r/d/1 (Permission denied)");
    std::string ten = lead;
    for (int i = 1; i <= 10; ++i) ten += "\r/d/" + std::to_string(i) + " (Permission denied)";
    EXPECT_EQ(unreadableFoldersNotice({folders.begin(), folders.begin() + 10}), ten);
    EXPECT_EQ(unreadableFoldersNotice(folders), ten + "\rand 2 more");
    ScriptedUi ui;
    showUnreadableFolders(ui, {});
    EXPECT_TRUE(ui.boxes.empty());
}

}  // namespace
}  // namespace tabulon::testing

// Saving: name stems, the names per option, the folder check and failing writes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "ExportTestSupport.h"
#include "core/export/SaveResults.h"

namespace tabulon {
namespace {

std::string bytesOf(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FileNameStem, KeepsEverythingBeforeTheLastDotOfTheFileName) {
    EXPECT_EQ(FileNameStem("Book1.xlsx"), "Book1");
    EXPECT_EQ(FileNameStem("a.b.xlsx"), "a.b");
    EXPECT_EQ(FileNameStem("Book1.csv"), "Book1");
    EXPECT_EQ(FileNameStem("/data/my.folder/Q1.xlsx"), "Q1");
    EXPECT_EQ(FileNameStem("/data/README"), "README");
}

TEST(ResultFileNames, FollowTheOption) {
    const std::vector<ResultRow> rows = {{"Book1.csv", "Sales", "1"}, {"Book1.csv", "Sales", "2"}};
    EXPECT_EQ(ResultFileNames(kSaveEachBookOption, {{"Book1.csv", "", ""}}),
              (std::vector<std::string>{"Book1.csv"}));
    EXPECT_EQ(ResultFileNames(kSaveEachSheetOption, {{"Book1.csv", "Sales", ""}}),
              (std::vector<std::string>{"Book1_Sales.csv"}));
    EXPECT_EQ(ResultFileNames(kSaveEachRowOption, rows),
              (std::vector<std::string>{"Book1_Sales_1.csv", "Book1_Sales_2.csv"}));
    EXPECT_EQ(ResultFileNames(kSaveEachColOption, rows),
              (std::vector<std::string>{"Book1_Sales_1.csv", "Book1_Sales_2.csv"}));
    EXPECT_TRUE(ResultFileNames("Save all sheets to a csv file", rows).empty());
}

class SaveResultFilesTest : public ::testing::Test {
  protected:
    void save(const std::string& folder, const std::string& option, std::vector<ResultRow> rows) {
        SaveResultFiles(SaveRequest{folder, option, std::move(rows), texts}, ui, ui);
    }
    void keep(const std::vector<std::string>& textsToKeep) {
        texts.reset();
        for (const std::string& text : textsToKeep) testing::storeText(texts, text);
    }
    testing::ScratchFolder out;
    testing::ScratchFolder temp;
    testing::TempEnvironment tempEnvironment{temp.path().string()};
    testing::ScriptedUi ui;
    ResultStore texts;
};

TEST_F(SaveResultFilesTest, AMissingFolderWritesNothing) {
    keep({"a, \r\n"});
    save(out.file("nope"), kSaveEachBookOption, {{"Book1.csv", "", ""}});
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Output folder does not exist.");
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

TEST_F(SaveResultFilesTest, WritesEachTextWithALineEndAndReplacesEarlierFiles) {
    keep({"a, b, \r\n\r\n", "c, d, \r\n\r\n"});
    std::ofstream(out.path() / "Book1_S_1.csv") << "stale";
    save(out.path().string() + "/", kSaveEachRowOption,
         {{"Book1.csv", "S", "1"}, {"Book1.csv", "S", "2"}});
    EXPECT_EQ(bytesOf(out.path() / "Book1_S_1.csv"), "a, b, \r\n\r\n\r\n");
    EXPECT_EQ(bytesOf(out.path() / "Book1_S_2.csv"), "c, d, \r\n\r\n\r\n");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Done.");
}

TEST_F(SaveResultFilesTest, ANameThatWouldLeaveTheFolderIsReportedAndTheRestIsWritten) {
    keep({"evil", "good"});
    save(out.path().string(), kSaveEachSheetOption,
         {{"Book1.csv", "../../x", ""}, {"Book1.csv", "ok", ""}});
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].label, "Form2.PushButton6_Click");
    EXPECT_EQ(bytesOf(out.path() / "Book1_ok.csv"), "good\r\n");
    EXPECT_FALSE(std::filesystem::exists(out.path().parent_path() / "x.csv"));
    EXPECT_EQ(ui.boxes.back().text, "1 of 2 results could not be saved.");
}

TEST_F(SaveResultFilesTest, NoResultsStillSaysDoneAndAMissingTextIsCountedAsNotSaved) {
    save(out.path().string(), kSaveEachSheetOption, {});
    EXPECT_EQ(ui.boxes.back().text, "Done.");
    save(out.path().string(), kSaveEachSheetOption, {{"Book1.csv", "S", ""}});
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.boxes.back().text, "1 of 1 result could not be saved.");
}

}  // namespace
}  // namespace tabulon

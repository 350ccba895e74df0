// Saving: name stems, the names per option, the folder check and failing writes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <tuple>

#include "ExportTestSupport.h"
#include "core/export/SaveResults.h"

namespace tabulon {
namespace {

std::string bytesOf(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FileNameStem, KeepsEverythingBeforeTheLastDotOfTheFileName) {
    EXPECT_EQ(fileNameStem("Book1.xlsx"), "Book1");
    EXPECT_EQ(fileNameStem("a.b.xlsx"), "a.b");
    EXPECT_EQ(fileNameStem("Book1.csv"), "Book1");
    EXPECT_EQ(fileNameStem("/data/my.folder/Q1.xlsx"), "Q1");
    EXPECT_EQ(fileNameStem("/data/README"), "README");
}

TEST(ResultFileName, FollowsTheOption) {
    const Result row{"Book1.csv", "Sales", 2, 0};
    const std::pair<const char*, const char*> cases[] = {
        {kSaveEachBookOption, "Book1.csv"},        {kSaveEachSheetOption, "Book1_Sales.csv"},
        {kSaveEachRowOption, "Book1_Sales_2.csv"}, {kSaveEachColOption, "Book1_Sales_2.csv"},
        {"Save all sheets to a csv file", ""},
    };
    for (const auto& [option, name] : cases) EXPECT_EQ(resultFileName(option, row), name) << option;
}

class SaveResultFilesTest : public ::testing::Test {
  protected:
    void save(const std::string& folder, const std::string& option) {
        saveResultFiles(SaveRequest{folder, option, &texts}, ui, ui);
    }
    // Texts of results of Book1.xlsx, with their sheet names and numbers.
    void keep(const std::vector<std::tuple<std::string, std::string, std::int32_t>>& results) {
        texts.clear();
        for (const auto& [text, sheet, number] : results)
            testing::keepResult(texts, text, "Book1.csv", sheet, number);
    }
    testing::ScratchFolder out;
    testing::ScratchFolder temp;
    testing::TempEnvironment tempEnvironment{temp.path().string()};
    testing::ScriptedUi ui;
    ResultStore texts;
};

TEST_F(SaveResultFilesTest, AMissingFolderWritesNothing) {
    keep({{"a, \r\n", "", 0}});
    save(out.file("nope"), kSaveEachBookOption);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Output folder does not exist.");
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

TEST_F(SaveResultFilesTest, WritesEachTextWithALineEndAndReplacesEarlierFiles) {
    keep({{"a, b, \r\n\r\n", "S", 1}, {"c, d, \r\n\r\n", "S", 2}});
    std::ofstream(out.path() / "Book1_S_1.csv") << "stale";
    save(out.path().string() + "/", kSaveEachRowOption);
    EXPECT_EQ(bytesOf(out.path() / "Book1_S_1.csv"), "a, b, \r\n\r\n\r\n");
    EXPECT_EQ(bytesOf(out.path() / "Book1_S_2.csv"), "c, d, \r\n\r\n\r\n");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Done.");
}

TEST_F(SaveResultFilesTest, ANameThatWouldLeaveTheFolderIsReportedAndTheRestIsWritten) {
    keep({{"evil", "../../x", 0}, {"good", "ok", 0}});
    save(out.path().string(), kSaveEachSheetOption);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].label, "Form2.PushButton6_Click");
    EXPECT_EQ(bytesOf(out.path() / "Book1_ok.csv"), "good\r\n");
    EXPECT_FALSE(std::filesystem::exists(out.path().parent_path() / "x.csv"));
    EXPECT_EQ(ui.boxes.back().text, "1 of 2 results could not be saved.");
}

TEST_F(SaveResultFilesTest, NoResultsStillSaysDone) {
    save(out.path().string(), kSaveEachSheetOption);
    EXPECT_EQ(ui.boxes.back().text, "Done.");
    saveResultFiles(SaveRequest{out.path().string(), kSaveEachSheetOption, nullptr}, ui, ui);
    EXPECT_EQ(ui.boxes.back().text, "Done.");
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

}  // namespace
}  // namespace tabulon

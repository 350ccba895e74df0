// The export run: its preconditions, the results list's columns, progress and the hand-over.
#include <gtest/gtest.h>

#include "ExportTestSupport.h"
#include "core/export/ExportDriver.h"

namespace tabulon {
namespace {

using testing::SheetSpec;

class ExportDriverTest : public ::testing::Test, protected testing::ExportFixture {
  protected:
    void runExport() {
        ExportRun exportRun{context, ui, [this] { return spreadsheetOpenAndDeclined; }};
        tabulon::runExport(exportRun);
    }
    std::string book(const std::string& name, const std::vector<SheetSpec>& sheets) {
        return testing::writeWorkbook(workbooks, name, sheets);
    }
    bool spreadsheetOpenAndDeclined = false;
};

TEST_F(ExportDriverTest, AnEmptyListSaysNoFilesAddedAndTouchesNothing) {
    testing::keepResult(resultTexts, "old");
    runExport();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "No files added.");
    EXPECT_EQ(ui.boxes[0].icon, Icon::None);
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(host.clears, 0);
    EXPECT_EQ(host.handedOver, -1);
    EXPECT_TRUE(resultTexts.empty());
}

TEST_F(ExportDriverTest, DecliningBecauseASpreadsheetIsOpenStopsBeforeAnything) {
    host.files = {book("A.xlsx", {{"S", {{"A1", "1"}, {"B2", "2"}}}})};
    spreadsheetOpenAndDeclined = true;
    runExport();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(host.clears, 0);
    EXPECT_TRUE(resultTexts.empty());
    EXPECT_EQ(host.handedOver, -1);
}

TEST_F(ExportDriverTest, EachOptionGetsItsColumnsAndMode) {
    host.files = {book("A.xlsx", {{"S", {{"A1", "1"}, {"B2", "2"}}}})};
    struct Case {
        const char* option;
        std::vector<std::pair<std::string, int>> columns;
        std::size_t results;
    };
    const Case cases[] = {
        {kSaveEachBookOption, {{"Preview", 7000}}, 1},
        {kSaveEachSheetOption, {{"Preview", 6000}, {"Sheet Name", 1500}}, 1},
        {kSaveEachRowOption, {{"Preview", 4500}, {"Sheet Name", 1500}, {"Row", 1200}}, 2},
        {kSaveEachColOption, {{"Preview", 4500}, {"Sheet Name", 1500}, {"Column", 1200}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        host.option = c.option;
        runExport();
        std::vector<std::pair<std::string, int>> got;
        for (const auto& column : host.columns) got.emplace_back(column.header, column.widthTwips);
        EXPECT_EQ(got, c.columns);
        EXPECT_EQ(resultTexts.size(), c.results);
        EXPECT_EQ(host.handedOver, static_cast<std::int32_t>(c.results));
    }
}

TEST_F(ExportDriverTest, AnUnknownOptionWalksTheFilesButExportsNothing) {
    host.files = {book("A.xlsx", {{"S", {{"A1", "1"}, {"B2", "2"}}}})};
    host.option = "save each row to a csv file";
    runExport();
    EXPECT_TRUE(host.columns.empty());
    EXPECT_TRUE(resultTexts.empty());
    EXPECT_EQ(host.handedOver, 0);
    EXPECT_EQ(ui.progressValues, (std::vector<int>{100, 0}));
}

TEST_F(ExportDriverTest, ProgressPerFileThenResetAndAFailingFileDoesNotStopTheRun) {
    const auto good = book("Good.xlsx", {{"S", {{"A1", "1"}, {"B2", "2"}}}});
    host.files = {good, workbooks.file("Gone.xlsx"), good};
    runExport();
    EXPECT_EQ(ui.progressValues, (std::vector<int>{33, 67, 100, 0}));
    EXPECT_EQ(ui.progressTexts.back(), "Progress Bar");
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(resultTexts.size(), 2u);
    EXPECT_EQ(host.handedOver, 2);
    ASSERT_FALSE(ui.errors.empty());
    EXPECT_EQ(ui.errors[0].label, "Excel1.SaveEachBook");
}

TEST_F(ExportDriverTest, AResultIsNamedAfterItsFileNameUpToTheLastDot) {
    host.files = {book("report.final.xlsx", {{"S", {{"A1", "1"}, {"B2", "2"}}}})};
    runExport();
    ASSERT_EQ(resultTexts.size(), 1u);
    EXPECT_EQ(resultTexts.at(0).name, "report.final.csv");
}

TEST_F(ExportDriverTest, ASecondRunStartsAfreshFromResultOne) {
    host.files = {book("A.xlsx", {{"S", {{"A1", "1"}, {"B2", "2"}}}})};
    host.option = kSaveEachRowOption;
    runExport();
    runExport();
    EXPECT_EQ(resultTexts.size(), 2u);
    EXPECT_EQ(resultTexts.at(1).number, 2);
    EXPECT_EQ(host.handedOver, 2);
}

}  // namespace
}  // namespace tabulon

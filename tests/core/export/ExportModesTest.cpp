// The four export modes on small workbooks: ranges, skipped sheets, text, numbering, delivery.
#include <gtest/gtest.h>

#include "ExportTestSupport.h"
#include "XlsxPackage.h"
#include "core/Error.h"
#include "core/export/ExportDriver.h"
#include "core/export/ExportModes.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

using testing::CellSpec;
using testing::SheetSpec;

class ExportModesTest : public ::testing::Test, protected testing::ExportFixture {
  protected:
    // Runs a mode on one workbook as the driver would, from a fresh result counter.
    void exportWith(ExportMode mode, const std::string& path, std::int32_t& resultIndex) {
        std::string baseName = GetFileName(StripExtension(path));
        const std::string separator = ", ";
        mode(context, path, baseName, separator, resultIndex);
    }
    void exportWith(ExportMode mode, const std::string& path) {
        std::int32_t resultIndex = 1;
        exportWith(mode, path, resultIndex);
    }
    std::string book(const std::string& name, const std::vector<SheetSpec>& sheets) {
        return testing::writeWorkbook(workbooks, name, sheets);
    }
    std::vector<std::string> names() const {
        std::vector<std::string> all;
        for (const auto& row : host.rows) all.push_back(row.name);
        return all;
    }
};

TEST_F(ExportModesTest, UsedRangeB3ToD5ExportsFromA1InEveryLine) {
    const auto path = book("Block.xlsx", {{"Data", {{"B3", "x"}, {"D5", "7"}}}});
    exportWith(&SaveEachSheet, path);
    ASSERT_EQ(resultTexts.size(), 1u);
    EXPECT_EQ(resultTexts[0].read(),
              ", , , , \r\n"
              ", , , , \r\n"
              ", x, , , \r\n"
              ", , , , \r\n"
              ", , , 7, \r\n"
              "\r\n");
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ExportModesTest, TextCutToTheCellLimitExportsWithOneNoticeForTheWorkbook) {
    const std::string longText(40000, 'x');
    const auto path = book("Long.xlsx", {{"One", {{"A1", longText}, {"B2", longText}}},
                                         {"Two", {{"A1", longText}, {"B2", "y"}}}});
    exportWith(&SaveEachSheet, path);
    ASSERT_EQ(resultTexts.size(), 2u);
    const std::string cut(32767, 'x');
    EXPECT_EQ(resultTexts[1].read(), cut + ", , \r\n, y, \r\n\r\n");
    EXPECT_TRUE(ui.errors.empty());
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_NE(ui.notices[0].find("32767"), std::string::npos) << ui.notices[0];
    EXPECT_TRUE(ui.notices[0].ends_with(": " + path)) << ui.notices[0];
}

TEST_F(ExportModesTest, SheetsEndingInRowOneOrColumnAAreSkippedInEveryMode) {
    const auto path = book("Thin.xlsx", {{"ColumnA", {{"A1", "1"}, {"A10", "2"}}},
                                         {"RowOne", {{"A1", "1"}, {"E1", "2"}}},
                                         {"One", {{"A1", "1"}}},
                                         {"Square", {{"A1", "a"}, {"B2", "b"}}}});
    for (ExportMode mode : {&SaveEachSheet, &SaveEachRow, &SaveEachCol}) {
        host.rows.clear();
        exportWith(mode, path);
        for (const auto& row : host.rows) EXPECT_EQ(row.subItem1, "Square");
        EXPECT_EQ(host.rows.size(), mode == &SaveEachSheet ? 1u : 2u);
    }
    resultTexts.clear();
    exportWith(&SaveEachBook, path);
    ASSERT_EQ(resultTexts.size(), 1u);
    EXPECT_EQ(resultTexts[0].read(), "a, , \r\n, b, \r\n\r\n");
}

TEST_F(ExportModesTest, SheetModeNamesResultsAfterTheWorkbookAndNumbersTempFilesFromTheResultName) {
    // Results past the small size, so that each takes its temporary file.
    const std::string big(30000, 'x');
    const auto path = book("Book1.xlsx", {{"S1", {{"A1", "1"}, {"B2", "2"}, {"A3", big}, {"A4", big}, {"A5", big}}},
                                          {"S2", {}},
                                          {"S3", {{"A1", "3"}, {"B2", "4"}, {"A3", big}, {"A4", big}, {"A5", big}}}});
    exportWith(&SaveEachSheet, path);
    ASSERT_EQ(host.rows.size(), 2u);
    EXPECT_EQ(names(), (std::vector<std::string>{"Book1.csv", "Book1.csv"}));
    EXPECT_EQ(host.rows[0].subItem1, "S1");
    EXPECT_EQ(host.rows[1].subItem1, "S3");
    EXPECT_EQ(host.rows[0].subItem2, "");
    EXPECT_EQ(host.rows[0].tempFilesAtDelivery, (std::vector<std::string>{"Book1_1.csv"}));
    EXPECT_EQ(host.rows[1].tempFilesAtDelivery, (std::vector<std::string>{"Book1.csv_2.csv"}));
    // The temporary names are free again: the texts are kept by the store.
    const auto runFolder = std::filesystem::path(resultTexts[1].path()).parent_path();
    EXPECT_FALSE(std::filesystem::exists(runFolder / "Book1_1.csv"));
    EXPECT_FALSE(std::filesystem::exists(runFolder / "Book1.csv_2.csv"));
    EXPECT_TRUE(resultTexts[1].read() ==
                "3, , \r\n, 4, \r\n" + big + ", , \r\n" + big + ", , \r\n" + big + ", , \r\n\r\n");
    resultTexts.reset();
    EXPECT_TRUE(std::filesystem::is_empty(temp.path()));  // the run's folder is gone
}

TEST_F(ExportModesTest, RowModeNumbersRowsPerWorkbookAcrossSheets) {
    const std::string big(30000, 'd');  // row 4 passes the small size and takes a temporary file
    const auto path =
        book("Rows.xlsx", {{"S1", {{"A1", "a"}, {"B1", "1"}, {"A3", "c"}, {"B3", "3"}}},
                           {"S2", {{"A1", big}, {"B1", big}, {"C1", big}, {"B2", "5"}}}});
    exportWith(&SaveEachRow, path);
    ASSERT_EQ(host.rows.size(), 5u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"S1", "1"}, {"S1", "2"}, {"S1", "3"}, {"S2", "4"}, {"S2", "5"}};
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(host.rows[k].subItem1, expected[k].first);
        EXPECT_EQ(host.rows[k].subItem2, expected[k].second);
    }
    EXPECT_EQ(resultTexts[0].read(), "a, 1, \r\n\r\n");
    EXPECT_EQ(resultTexts[1].read(), ", , \r\n\r\n");
    EXPECT_TRUE(resultTexts[3].read() == big + ", " + big + ", " + big + ", \r\n\r\n");
    EXPECT_EQ(resultTexts[4].read(), ", 5, , \r\n\r\n");
    EXPECT_EQ(host.rows[3].tempFilesAtDelivery, (std::vector<std::string>{"Rows.csv_4.csv"}));
    // The small results are built in memory and take no temporary file.
    EXPECT_TRUE(host.rows[2].tempFilesAtDelivery.empty());
    EXPECT_TRUE(host.rows[4].tempFilesAtDelivery.empty());
}

TEST_F(ExportModesTest, ColumnModeWritesEachColumnTopToBottomOnOneLine) {
    const auto path =
        book("Cols.xlsx",
             {{"Grid", {{"A1", "a1"}, {"B1", "b1"}, {"C1", "c1"}, {"A4", "a4"}, {"C3", "c3"}}}});
    exportWith(&SaveEachCol, path);
    ASSERT_EQ(resultTexts.size(), 3u);
    EXPECT_EQ(resultTexts[0].read(), "a1, , , a4, \r\n\r\n");
    EXPECT_EQ(resultTexts[1].read(), "b1, , , , \r\n\r\n");
    EXPECT_EQ(resultTexts[2].read(), "c1, , c3, , \r\n\r\n");
    EXPECT_EQ(host.rows[2].subItem2, "3");
}

TEST_F(ExportModesTest, BookModeOnAWorkbookWithoutExportedSheetsGivesOneEmptyLine) {
    const auto path = book("Empty.xlsx", {{"Sheet1", {}}, {"Sheet2", {{"C1", "only row one"}}}});
    exportWith(&SaveEachBook, path);
    ASSERT_EQ(resultTexts.size(), 1u);
    EXPECT_EQ(resultTexts[0].read(), "\r\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"Empty.csv"}));
    EXPECT_EQ(host.rows[0].subItem1, "");
    EXPECT_TRUE(host.rows[0].tempFilesAtDelivery.empty());  // a small result takes none
}

TEST_F(ExportModesTest, CellTextsAreCopiedWithoutQuotingOrEscaping) {
    const auto path = book(
        "Text.xlsx",
        {{"T",
          {{"A1", "a, b"}, {"B1", "say \"hi\""}, {"A2", "two\nlines"}, {"B2", "\xE2\x82\xAC 5"}}}});
    exportWith(&SaveEachSheet, path);
    ASSERT_EQ(resultTexts.size(), 1u);
    EXPECT_EQ(resultTexts[0].read(), "a, b, say \"hi\", \r\ntwo\nlines, \xE2\x82\xAC 5, \r\n\r\n");
}

TEST_F(ExportModesTest, ASecondWorkbookContinuesTheResultNumbersButRestartsItsRowCounter) {
    const auto first = book("First.xlsx", {{"S", {{"A1", "1"}, {"B3", "2"}}}});
    const auto second = book("Second.xlsx", {{"T", {{"A1", "x"}, {"B2", "y"}}}});
    std::int32_t resultIndex = 1;
    exportWith(&SaveEachRow, first, resultIndex);
    EXPECT_EQ(resultIndex, 4);
    exportWith(&SaveEachRow, second, resultIndex);
    EXPECT_EQ(resultIndex, 6);
    ASSERT_EQ(host.rows.size(), 5u);
    EXPECT_EQ(host.rows[3].name, "Second.csv");
    EXPECT_EQ(host.rows[3].subItem2, "1");
    ASSERT_EQ(host.previews.size(), 5u);
    EXPECT_EQ(host.previews[3].first, 4);
    EXPECT_EQ(host.previews[3].second, resultTexts[3].read());
    EXPECT_EQ(resultTexts[3].read(), "x, , \r\n\r\n");
}

TEST_F(ExportModesTest, AMissingWorkbookIsReportedUnderTheModesLabelAndGivesNoResult) {
    std::int32_t resultIndex = 3;
    exportWith(&SaveEachSheet, workbooks.file("Missing.xlsx"), resultIndex);
    EXPECT_EQ(resultIndex, 3);
    EXPECT_TRUE(host.rows.empty());
    ASSERT_FALSE(ui.errors.empty());
    for (const auto& error : ui.errors) EXPECT_EQ(error.label, "Excel1.SaveEachSheet");
    EXPECT_EQ(ui.errors[0].line, 100);
    EXPECT_NE(ui.errors[0].description.find("Missing.xlsx"), std::string::npos);
}

// Sheets are read as the walk reaches them: a damaged one is reported where its used range is
// asked for, with a follow-up for the next step, and the other sheets are exported; in book mode
// the workbook's one result would lack it, so there is none.
TEST_F(ExportModesTest, ADamagedSheetIsReportedWhereTheWalkReachesItAndTheOthersAreExported) {
    const std::string good = testing::sheetDataXml({{"A1", "1"}, {"B2", "2"}});
    const std::string path = workbooks.file("Damaged.xlsx");
    testing::XlsxPackage::workbook({testing::HandSheet("A", good),
                                    testing::HandSheet("B", "<row r=\"0\"/>"),
                                    testing::HandSheet("C", good)})
        .write(path);
    struct Case {
        ExportMode mode;
        std::vector<std::string> sheets;
    };
    for (const Case& c : {Case{&SaveEachSheet, {"A", "C"}}, Case{&SaveEachRow, {"A", "A", "C", "C"}},
                          Case{&SaveEachBook, {}}}) {
        host.rows.clear();
        ui.errors.clear();
        exportWith(c.mode, path);
        std::vector<std::string> sheets;
        for (const auto& row : host.rows) sheets.push_back(row.subItem1);
        EXPECT_EQ(sheets, c.sheets);
        ASSERT_EQ(ui.errors.size(), 2u);
        EXPECT_EQ(ui.errors[0].line, 112);
        EXPECT_NE(ui.errors[0].description.find("Damaged.xlsx, sheet B"), std::string::npos)
            << ui.errors[0].description;
        EXPECT_EQ(ui.errors[1].line, 114);
        EXPECT_EQ(ui.errors[1].description, kNoObjectError);
    }
}

TEST_F(ExportModesTest, AnErrorValueInRowModeIsReportedAndLeavesAnEmptyField) {
    const auto path =
        book("Errors.xlsx", {{"S", {{"A1", "1"}, {"B1", "#N/A"}, {"C1", "3"}, {"A2", "x"}}}});
    exportWith(&SaveEachRow, path);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].label, "Excel1.SaveEachRow");
    EXPECT_EQ(ui.errors[0].description, "Type mismatch");
    ASSERT_EQ(resultTexts.size(), 2u);
    EXPECT_EQ(resultTexts[0].read(), "1, , 3, \r\n\r\n");

    ui.errors.clear();
    resultTexts.clear();
    exportWith(&SaveEachSheet, path);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(resultTexts[0].read(), "1, #N/A, 3, \r\nx, , , \r\n\r\n");
}

TEST_F(ExportModesTest, ProgressFollowsTheOuterLoopAndBookModeCountsRowsInText) {
    const auto path = book("P.xlsx", {{"S", {{"A1", "1"}, {"B3", "2"}}}});
    exportWith(&SaveEachSheet, path);
    EXPECT_EQ(ui.progressValues, (std::vector<int>{50, 75, 100}));
    EXPECT_TRUE(ui.busy);
    ui.progressValues.clear();
    exportWith(&SaveEachBook, path);
    EXPECT_TRUE(ui.progressValues.empty());
    EXPECT_EQ(ui.progressTexts, (std::vector<std::string>{"Please wait.. processing.. 1",
                                                          "Please wait.. processing.. 2",
                                                          "Please wait.. processing.. 3"}));
}

TEST_F(ExportModesTest, MoreThan32767ResultsAreAllNumberedAndKept) {
    const auto path = book("Tall.xlsx", {{"S", {{"A1", "top"}, {"B33000", "bottom"}}}});
    std::int32_t resultIndex = 1;
    host.listTempFiles = false;
    exportWith(&SaveEachRow, path, resultIndex);
    EXPECT_EQ(resultIndex, 33001);
    ASSERT_EQ(resultTexts.size(), 33000u);
    EXPECT_EQ(host.rows.back().subItem2, "33000");
    EXPECT_EQ(host.previews.back().first, 33000);
    EXPECT_EQ(resultTexts.back().read(), ", bottom, \r\n\r\n");
}

}  // namespace
}  // namespace tabulon

// The four export modes on small workbooks: ranges, skipped sheets, text, numbering, delivery.
#include <gtest/gtest.h>

#include "ExportTestSupport.h"
#include "XlsxPackage.h"
#include "core/Error.h"
#include "core/export/ExportDriver.h"
#include "core/export/ExportModes.h"
#include "core/export/LineFormat.h"
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
        for (std::size_t k = 0; k < resultTexts.size(); ++k)
            all.emplace_back(resultTexts.at(k).name);
        return all;
    }
    std::vector<std::int32_t> numbers() const {
        std::vector<std::int32_t> all;
        for (std::size_t k = 0; k < resultTexts.size(); ++k)
            all.push_back(resultTexts.at(k).number);
        return all;
    }
};

TEST_F(ExportModesTest, UsedRangeB3ToD5ExportsFromA1InEveryLine) {
    const auto path = book("Block.xlsx", {{"Data", {{"B3", "x"}, {"D5", "7"}}}});
    exportWith(&SaveEachSheet, path);
    ASSERT_EQ(resultTexts.size(), 1u);
    EXPECT_EQ(resultTexts.text(0),
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
    EXPECT_EQ(resultTexts.text(1), cut + ", , \r\n, y, \r\n\r\n");
    EXPECT_TRUE(ui.errors.empty());
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_NE(ui.notices[0].find("32767"), std::string::npos) << ui.notices[0];
    EXPECT_TRUE(ui.notices[0].ends_with(": " + path)) << ui.notices[0];
}

// Only a sheet whose used range is an empty A1 gives nothing; a sheet of one row or one column,
// or of A1 alone, is exported in every mode, and the CSV book pads to its widest sheet.
TEST_F(ExportModesTest, EverySheetWithDataIsExportedAndOnlyAnEmptyA1IsSkipped) {
    const auto path = book("Thin.xlsx", {{"ColumnA", {{"A1", "1"}, {"A3", "2"}}},
                                         {"Empty", {}},
                                         {"RowOne", {{"A1", "1"}, {"C1", "2"}}},
                                         {"One", {{"A1", "x"}}}});
    struct Case {
        ExportMode mode;
        std::vector<std::string> sheets;
    };
    for (const Case& c : {Case{&SaveEachSheet, {"ColumnA", "RowOne", "One"}},
                          Case{&SaveEachRow, {"ColumnA", "ColumnA", "ColumnA", "RowOne", "One"}},
                          Case{&SaveEachCol, {"ColumnA", "RowOne", "RowOne", "RowOne", "One"}}}) {
        resultTexts.clear();
        exportWith(c.mode, path);
        EXPECT_EQ(testing::sheetsOf(resultTexts), c.sheets);
    }
    EXPECT_EQ(resultTexts.text(2), ", \r\n\r\n");  // column B of RowOne
    resultTexts.clear();
    exportWith(&SaveEachBook, path);
    ASSERT_EQ(resultTexts.size(), 1u);
    EXPECT_EQ(resultTexts.text(0), "1, \r\n, \r\n2, \r\n1, , 2, \r\nx, \r\n\r\n");

    const LineFormat csv = LineFormat::csv(',');
    ExportContext csvContext{ui, ui, host, resultTexts, nullptr, csv};
    resultTexts.clear();
    std::string baseName = "Thin";
    std::int32_t resultIndex = 1;
    SaveEachBook(csvContext, path, baseName, ",", resultIndex);
    EXPECT_EQ(resultTexts.text(0), "1,,\r\n,,\r\n2,,\r\n1,,2\r\nx,,\r\n");
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ExportModesTest, SheetModeNamesResultsAfterTheWorkbookAndKeepsLargeTextsWhole) {
    // Results of several large writes each.
    const std::string big(30000, 'x');
    std::vector<CellSpec> tall = {{"A1", "1"}, {"B2", "2"}};
    for (int r = 3; r <= 20; ++r) tall.push_back({"A" + std::to_string(r), big});
    const auto path = book("Book1.xlsx", {{"S1", tall}, {"S2", {}}, {"S3", tall}});
    exportWith(&SaveEachSheet, path);
    EXPECT_EQ(names(), (std::vector<std::string>{"Book1.csv", "Book1.csv"}));
    EXPECT_EQ(testing::sheetsOf(resultTexts), (std::vector<std::string>{"S1", "S3"}));
    EXPECT_EQ(numbers(), (std::vector<std::int32_t>{0, 0}));
    std::string expected = "1, , \r\n, 2, \r\n";
    for (int r = 3; r <= 20; ++r) expected += big + ", , \r\n";
    EXPECT_TRUE(resultTexts.text(0) == expected + "\r\n");
    EXPECT_TRUE(resultTexts.text(1) == expected + "\r\n");
}

TEST_F(ExportModesTest, RowModeNumbersRowsPerWorkbookAcrossSheets) {
    const std::string big(30000, 'd');
    const auto path =
        book("Rows.xlsx", {{"S1", {{"A1", "a"}, {"B1", "1"}, {"A3", "c"}, {"B3", "3"}}},
                           {"S2", {{"A1", big}, {"B1", big}, {"C1", big}, {"B2", "5"}}}});
    exportWith(&SaveEachRow, path);
    EXPECT_EQ(testing::sheetsOf(resultTexts),
              (std::vector<std::string>{"S1", "S1", "S1", "S2", "S2"}));
    EXPECT_EQ(numbers(), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(resultTexts.text(0), "a, 1, \r\n\r\n");
    EXPECT_EQ(resultTexts.text(1), ", , \r\n\r\n");
    EXPECT_TRUE(resultTexts.text(3) == big + ", " + big + ", " + big + ", \r\n\r\n");
    EXPECT_EQ(resultTexts.text(4), ", 5, , \r\n\r\n");
}

TEST_F(ExportModesTest, ColumnModeWritesEachColumnTopToBottomOnOneLine) {
    const auto path =
        book("Cols.xlsx",
             {{"Grid", {{"A1", "a1"}, {"B1", "b1"}, {"C1", "c1"}, {"A4", "a4"}, {"C3", "c3"}}}});
    exportWith(&SaveEachCol, path);
    ASSERT_EQ(resultTexts.size(), 3u);
    EXPECT_EQ(resultTexts.text(0), "a1, , , a4, \r\n\r\n");
    EXPECT_EQ(resultTexts.text(1), "b1, , , , \r\n\r\n");
    EXPECT_EQ(resultTexts.text(2), "c1, , c3, , \r\n\r\n");
    EXPECT_EQ(numbers(), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST_F(ExportModesTest, BookModeOnAWorkbookWithoutExportedSheetsGivesOneEmptyLine) {
    const auto path = book("Empty.xlsx", {{"Sheet1", {}}, {"Sheet2", {}}});
    exportWith(&SaveEachBook, path);
    ASSERT_EQ(resultTexts.size(), 1u);
    EXPECT_EQ(resultTexts.text(0), "\r\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"Empty.csv"}));
    EXPECT_EQ(resultTexts.at(0).sheet, "");
}

TEST_F(ExportModesTest, CellTextsAreCopiedWithoutQuotingOrEscaping) {
    const auto path = book(
        "Text.xlsx",
        {{"T",
          {{"A1", "a, b"}, {"B1", "say \"hi\""}, {"A2", "two\nlines"}, {"B2", "\xE2\x82\xAC 5"}}}});
    exportWith(&SaveEachSheet, path);
    ASSERT_EQ(resultTexts.size(), 1u);
    EXPECT_EQ(resultTexts.text(0), "a, b, say \"hi\", \r\ntwo\nlines, \xE2\x82\xAC 5, \r\n\r\n");
}

TEST_F(ExportModesTest, ASecondWorkbookContinuesTheResultNumbersButRestartsItsRowCounter) {
    const auto first = book("First.xlsx", {{"S", {{"A1", "1"}, {"B3", "2"}}}});
    const auto second = book("Second.xlsx", {{"T", {{"A1", "x"}, {"B2", "y"}}}});
    std::int32_t resultIndex = 1;
    exportWith(&SaveEachRow, first, resultIndex);
    EXPECT_EQ(resultIndex, 4);
    exportWith(&SaveEachRow, second, resultIndex);
    EXPECT_EQ(resultIndex, 6);
    EXPECT_EQ(names(), (std::vector<std::string>{"First.csv", "First.csv", "First.csv",
                                                 "Second.csv", "Second.csv"}));
    EXPECT_EQ(numbers(), (std::vector<std::int32_t>{1, 2, 3, 1, 2}));
    EXPECT_EQ(resultTexts.text(3), "x, , \r\n\r\n");
}

TEST_F(ExportModesTest, AMissingWorkbookIsReportedUnderTheModesLabelAndGivesNoResult) {
    std::int32_t resultIndex = 3;
    exportWith(&SaveEachSheet, workbooks.file("Missing.xlsx"), resultIndex);
    EXPECT_EQ(resultIndex, 3);
    EXPECT_TRUE(resultTexts.empty());
    ASSERT_FALSE(ui.errors.empty());
    for (const auto& error : ui.errors) EXPECT_EQ(error.label, "Excel1.SaveEachSheet");
    EXPECT_EQ(ui.errors[0].line, 100);
    EXPECT_NE(ui.errors[0].description.find("Missing.xlsx"), std::string::npos);
}

// Sheets are read as the walk reaches them: a damaged one is reported where its used range is
// asked for, with a follow-up for the next step, and the other sheets are exported; in book mode
// the workbook's one result would lack it, so there is none, and nothing of it stays behind to
// be taken for the next workbook of the same name.
TEST_F(ExportModesTest, ADamagedSheetIsReportedWhereTheWalkReachesItAndTheOthersAreExported) {
    std::vector<CellSpec> rows = {{"B1", "b"}};
    for (int r = 1; r <= 4000; ++r) rows.push_back({"A" + std::to_string(r), std::string(70, 'a')});
    const std::string good = testing::sheetDataXml(rows);
    std::filesystem::create_directories(workbooks.path() / "a");
    std::filesystem::create_directories(workbooks.path() / "b");
    const std::string path = workbooks.file("a/report.xlsx");
    testing::XlsxPackage::workbook(
        {testing::HandSheet("A", good),
         testing::HandSheet("B", "<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>"),
         testing::HandSheet("C", good)})
        .write(path);
    struct Case {
        ExportMode mode;
        std::size_t results;
    };
    for (const Case& c :
         {Case{&SaveEachSheet, 2}, Case{&SaveEachRow, 8000}, Case{&SaveEachBook, 0}}) {
        resultTexts.clear();
        ui.errors.clear();
        exportWith(c.mode, path);
        EXPECT_EQ(resultTexts.size(), c.results);
        ASSERT_EQ(ui.errors.size(), 2u);
        EXPECT_EQ(ui.errors[0].line, 112);
        EXPECT_NE(ui.errors[0].description.find("report.xlsx, sheet B"), std::string::npos)
            << ui.errors[0].description;
        EXPECT_EQ(ui.errors[1].line, 114);
        EXPECT_EQ(ui.errors[1].description, kNoObjectError);
    }
    std::uintmax_t keptBytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(resultTexts.folder().current()))
        keptBytes += entry.file_size();
    EXPECT_EQ(keptBytes, 0u);
    const std::string next = book("b/report.xlsx", {{"S", {{"A1", "b"}, {"B2", "1"}}}});
    exportWith(&SaveEachBook, next);
    ASSERT_EQ(resultTexts.size(), 1u);
    EXPECT_EQ(resultTexts.text(0), "b, , \r\n, 1, \r\n\r\n");
}

TEST_F(ExportModesTest, ErrorValuesGiveTheirTextInEveryMode) {
    const auto path =
        book("Errors.xlsx", {{"S", {{"A1", "1"}, {"B1", "#N/A"}, {"C1", "#DIV/0!"}, {"A2", "x"}}}});
    struct Case {
        ExportMode mode;
        std::size_t result;
        const char* text;
    };
    for (const Case& c : {Case{&SaveEachRow, 0, "1, #N/A, #DIV/0!, \r\n\r\n"},
                          Case{&SaveEachCol, 1, "#N/A, , \r\n\r\n"},
                          Case{&SaveEachSheet, 0, "1, #N/A, #DIV/0!, \r\nx, , , \r\n\r\n"}}) {
        resultTexts.clear();
        exportWith(c.mode, path);
        EXPECT_EQ(resultTexts.text(c.result), c.text);
    }
    EXPECT_TRUE(ui.errors.empty());
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
    exportWith(&SaveEachRow, path, resultIndex);
    EXPECT_EQ(resultIndex, 33001);
    ASSERT_EQ(resultTexts.size(), 33000u);
    EXPECT_EQ(resultTexts.at(32999).number, 33000);
    EXPECT_EQ(resultTexts.text(32999), ", bottom, \r\n\r\n");
}

}  // namespace
}  // namespace tabulon

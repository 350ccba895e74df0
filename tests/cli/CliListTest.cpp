// tabulon-cli --list and --version.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "ExportTestSupport.h"

namespace tabulon {
namespace {

TEST(CliListTest, OneLinePerWorksheetWithVisibilityAndUsedRange) {
    testing::ScratchFolder workbooks;
    const std::string chart =
        "<?xml version=\"1.0\"?><chartsheet xmlns=\"http://schemas.openxmlformats.org/"
        "spreadsheetml/2006/main\"><drawing/></chartsheet>";
    const std::string path = workbooks.file("Book.xlsx");
    testing::XlsxPackage::workbook(
        {{"A", testing::sheetDataXml({{"A1", "1"}, {"B2", "2"}})},
         {"Chart1", chart, "chartsheet", "", true},
         {"2", "", "worksheet", "hidden"},
         {"B", testing::sheetDataXml({{"C2", "x"}, {"D5", "y"}}), "worksheet", "veryHidden"}})
        .write(path);
    const QString book = QString::fromStdString(path);

    testing::CliRun run = testing::runCli({"--list", "--output", "/nonexistent", book});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, path + "\tA\tworksheet\tvisible\tA1:B2\n" + path +
                           "\t2\tworksheet\thidden\tA1:A1\n" + path +
                           "\tB\tworksheet\tveryhidden\tC2:D5\n");

    // "2" names a sheet, so it is that sheet; "3" names none, so it is the third worksheet.
    run = testing::runCli({"--list", "--sheet", "3", "--sheet", "2", book});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, path + "\t2\tworksheet\thidden\tA1:A1\n" + path +
                           "\tB\tworksheet\tveryhidden\tC2:D5\n");

    run =
        testing::runCli({"--list", "--sheet", "Chart1", book, workbooks.file("Gone.xlsx").c_str()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Gone.xlsx: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("no workbook has a sheet \"Chart1\""), std::string::npos) << run.err;
}

TEST(CliListTest, VersionNeedsNoPath) {
    const testing::CliRun run = testing::runCli({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "tabulon-cli " TABULON_VERSION "\n");
}

}  // namespace
}  // namespace tabulon

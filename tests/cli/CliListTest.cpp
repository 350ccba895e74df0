// tabulon-cli --list, --version and --help.
#include "CliProcess.h"

namespace tabulon {
namespace {

using testing::CliOutput;
using CliListTest = testing::CliProcessTest;

TEST_F(CliListTest, OneLinePerWorksheetWithVisibilityAndUsedRange) {
    const std::string chart =
        "<?xml version=\"1.0\"?><chartsheet xmlns=\"http://schemas.openxmlformats.org/"
        "spreadsheetml/2006/main\"><drawing/></chartsheet>";
    const std::string path = folder.file("Book.xlsx");
    testing::XlsxPackage::workbook(
        {{"A", testing::sheetDataXml({{"A1", "1"}, {"B2", "2"}})},
         {"Chart1", chart, "chartsheet", "", true},
         {"2", "", "worksheet", "hidden"},
         {"B", testing::sheetDataXml({{"C2", "x"}, {"D5", "y"}}), "worksheet", "veryHidden"}})
        .write(path);

    CliOutput run = runCli({"--list", "--output", "/nonexistent", path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path + "\tA\tworksheet\tvisible\tA1:B2\n" + path +
                           "\t2\tworksheet\thidden\tA1:A1\n" + path +
                           "\tB\tworksheet\tveryhidden\tC2:D5\n");

    // "2" names a sheet, so it is that sheet; "3" names none, so it is the third worksheet.
    run = runCli({"--list", "--sheet", "3", "--sheet", "2", path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path + "\t2\tworksheet\thidden\tA1:A1\n" + path +
                           "\tB\tworksheet\tveryhidden\tC2:D5\n");

    run = runCli({"--list", "--sheet", "Chart1", path, folder.file("Gone.xlsx")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Gone.xlsx: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("no workbook has a sheet \"Chart1\""), std::string::npos) << run.err;
}

TEST_F(CliListTest, VersionAndHelpNeedNoPath) {
    CliOutput run = runCli({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "tabulon-cli " TABULON_VERSION "\n");
    run = runCli({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Usage: tabulon-cli"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace tabulon

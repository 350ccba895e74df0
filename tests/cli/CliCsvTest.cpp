// tabulon-cli --csv: the files read back by Python's csv module give the cells, whatever they
// hold; --sheet limits every mode to the chosen sheets; a folder path adds its tree.
#include "CsvReadBack.h"

namespace tabulon {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using testing::bytesOf;
using testing::CliOutput;

class CliCsvTest : public testing::CliProcessTest {
  protected:
    std::string out() const { return output.path().string(); }

    testing::ScratchFolder workbooks;
    testing::ScratchFolder output;
};

const Rows kOddCells = {{"a,b", "say \"hi\"", "line\nbreak", "cr\rhere"},
                        {"  lead", "trail  ", "",
                         "Gr\xC3\xBC\xC3\x9F"
                         "e \xE6\x9D\xB1\xE4\xBA\xAC"},
                        {"tab\there", "12.5", "", "x"}};

TEST_F(CliCsvTest, CellsOfEveryKindReadBackWithCommaAndTab) {
    std::vector<testing::CellSpec> cells;
    for (std::size_t r = 0; r < kOddCells.size(); ++r) {
        for (std::size_t c = 0; c < kOddCells[r].size(); ++c) {
            if (!kOddCells[r][c].empty())
                cells.push_back({char('A' + c) + std::to_string(r + 1), kOddCells[r][c]});
        }
    }
    const std::string book = testing::writeWorkbook(workbooks, "Cells.xlsx", {{"Odd", cells}});
    const std::filesystem::path file = output.path() / "Cells_Odd.csv";
    for (const std::string delimiter : {",", "\\t"}) {
        std::vector<std::string> arguments = {"--csv", "--mode", "sheet", "--output", out()};
        if (delimiter != ",") arguments.insert(arguments.end(), {"--delimiter", delimiter});
        arguments.push_back(book);
        const CliOutput run = runCli(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(testing::readCsvWithPython(file, delimiter == "," ? "," : "\t"), kOddCells)
            << delimiter;
        if (delimiter != ",") continue;
        // Quotes only where needed, CR LF after every row, nothing after the last.
        EXPECT_EQ(bytesOf(file),
                  "\"a,b\",\"say \"\"hi\"\"\",\"line\nbreak\",\"cr\rhere\"\r\n"
                  "  lead,trail  ,," +
                      kOddCells[1][3] + "\r\ntab\there,12.5,,x\r\n");
    }
}

TEST_F(CliCsvTest, BookResultHoldsTheChosenSheetsAsWideAsTheWidest) {
    const std::string book = testing::writeWorkbook(workbooks, "Book.xlsx",
                                                    {{"Wide", {{"A1", "w1"}, {"C2", "w2"}}},
                                                     {"Narrow", {{"A1", "n1"}, {"B2", "n2"}}},
                                                     {"Other", {{"A1", "o1"}, {"B2", "o2"}}}});
    const std::string plain =
        testing::writeWorkbook(workbooks, "Plain.xlsx", {{"S", {{"A1", "1"}, {"B2", "2"}}}});
    const CliOutput run = runCli({"--csv", "--output", out(), "--sheet", "Narrow", "--sheet=Wide",
                                  "--sheet", "Nope", book, plain});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tabulon-cli: no workbook has a sheet \"Nope\"\n");
    EXPECT_EQ(bytesOf(output.path() / "Book.csv"), "w1,,\r\n,,w2\r\nn1,,\r\n,n2,\r\n");
    // A workbook without any chosen sheet gives no result.
    EXPECT_FALSE(std::filesystem::exists(output.path() / "Plain.csv"));
}

TEST_F(CliCsvTest, AWorkbookWithNothingToExportGivesAnEmptyFile) {
    // An empty sheet is passed over, as the window does.
    const std::string book = testing::writeWorkbook(workbooks, "Lone.xlsx", {{"S", {}}});
    const CliOutput run = runCli({"--csv", "--output", out(), book});
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(std::filesystem::exists(output.path() / "Lone.csv"));
    EXPECT_EQ(bytesOf(output.path() / "Lone.csv"), "");
}

TEST_F(CliCsvTest, SheetByPositionInRowModeKeepsTheWindowsFormatWithoutCsv) {
    const std::string book = testing::writeWorkbook(
        workbooks, "Book.xlsx",
        {{"First", {{"A1", "f"}, {"B2", "g"}}}, {"Second", {{"A1", "s, t"}, {"B2", "u"}}}});
    const CliOutput run = runCli({"--mode", "row", "--sheet", "2", "--output", out(), book});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(bytesOf(output.path() / "Book_Second_1.csv"), "s, t, , \r\n\r\n\r\n");
    EXPECT_EQ(bytesOf(output.path() / "Book_Second_2.csv"), ", u, \r\n\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(output.path() / "Book_First_1.csv"));
}

TEST_F(CliCsvTest, AFolderPathAddsItsTreeAndAFullRunExitsZero) {
    std::filesystem::create_directories(workbooks.path() / "other" / "deeper");
    testing::writeWorkbook(workbooks, "other/deeper/Sales.xlsx", {{"North", {{"A1", "x"}}}});
    const CliOutput run =
        runCli({"--mode", "sheet", "--output", out(), (workbooks.path() / "other").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(testing::namesIn(output.path()), std::vector<std::string>{"Sales_North.csv"});
}

}  // namespace
}  // namespace tabulon

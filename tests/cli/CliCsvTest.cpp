// tabulon-cli --csv: the files read back by Python's csv module give the cells, whatever they
// hold; --sheet limits every mode to the chosen sheets.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "CliRun.h"
#include "ExportTestSupport.h"

namespace tabulon {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The rows of a CSV file as Python's csv module (strict) reads them; each cell travels as hex.
Rows readWithPython(const std::string& path, const std::string& delimiter) {
    const char* script =
        "import csv, sys\n"
        "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
        "    for row in csv.reader(f, delimiter=sys.argv[2], strict=True):\n"
        "        print(','.join(cell.encode().hex() for cell in row))\n";
    const testing::CliRun python = testing::runProgram(
        TABULON_PYTHON,
        {"-c", script, QString::fromStdString(path), QString::fromStdString(delimiter)});
    EXPECT_EQ(python.exitCode, 0) << python.err;
    Rows rows;
    std::istringstream lines(python.out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> row;
        std::istringstream cells(line);
        for (std::string hex; std::getline(cells, hex, ',');) {
            std::string cell;
            for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
                cell += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
            row.push_back(cell);
        }
        if (line.ends_with(',')) row.emplace_back();
        rows.push_back(row);
    }
    return rows;
}

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CliCsvTest : public ::testing::Test {
  protected:
    QString out() const { return QString::fromStdString(output.path().string()); }

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
        QStringList arguments = {"--csv", "--mode", "sheet", "--output", out()};
        if (delimiter != ",") arguments << "--delimiter" << QString::fromStdString(delimiter);
        const testing::CliRun run = testing::runCli(arguments << QString::fromStdString(book));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(readWithPython(file.string(), delimiter == "," ? "," : "\t"), kOddCells)
            << delimiter;
        if (delimiter != ",") continue;
        // Quotes only where needed, CR LF after every row, nothing after the last.
        EXPECT_EQ(contentOf(file),
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
    const testing::CliRun run =
        testing::runCli({"--csv", "--output", out(), "--sheet", "Narrow", "--sheet=Wide", "--sheet",
                         "Nope", QString::fromStdString(book), QString::fromStdString(plain)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "tabulon-cli: no workbook has a sheet \"Nope\"\n");
    EXPECT_EQ(contentOf(output.path() / "Book.csv"), "w1,,\r\n,,w2\r\nn1,,\r\n,n2,\r\n");
    // A workbook without any chosen sheet gives no result.
    EXPECT_FALSE(std::filesystem::exists(output.path() / "Plain.csv"));
}

TEST_F(CliCsvTest, AWorkbookWithNothingToExportGivesAnEmptyFile) {
    // An empty sheet is passed over, as the window does.
    const std::string book = testing::writeWorkbook(workbooks, "Lone.xlsx", {{"S", {}}});
    const testing::CliRun run = testing::runCli({"--csv", "--output", out(), book.c_str()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(std::filesystem::exists(output.path() / "Lone.csv"));
    EXPECT_EQ(contentOf(output.path() / "Lone.csv"), "");
}

TEST_F(CliCsvTest, SheetByPositionInRowModeKeepsTheWindowsFormatWithoutCsv) {
    const std::string book = testing::writeWorkbook(
        workbooks, "Book.xlsx",
        {{"First", {{"A1", "f"}, {"B2", "g"}}}, {"Second", {{"A1", "s, t"}, {"B2", "u"}}}});
    const testing::CliRun run = testing::runCli(
        {"--mode", "row", "--sheet", "2", "--output", out(), QString::fromStdString(book)});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(contentOf(output.path() / "Book_Second_1.csv"), "s, t, , \r\n\r\n\r\n");
    EXPECT_EQ(contentOf(output.path() / "Book_Second_2.csv"), ", u, \r\n\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(output.path() / "Book_First_1.csv"));
}

}  // namespace
}  // namespace tabulon

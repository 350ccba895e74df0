// Real .xls files: every one of the shared corpus opens or gives a clear error quickly, the cell
// texts agree with LibreOffice's as-shown CSVs, and the fraction vector workbook shows what Excel
// showed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../ReferenceCsv.h"
#include "core/workbook/CellReference.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;

using testing::kCorpus;

bool isXlsName(const std::string& file) { return fs::path(file).extension() == ".xls"; }

TEST(XlsCorpusTest, EveryXlsFileOpensOrGivesAClearError) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kCorpus / "files", ec))
        if (isXlsName(entry.path().string())) files.push_back(entry.path());
    if (files.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
    std::sort(files.begin(), files.end());
    int opened = 0;
    for (const fs::path& file : files) {
        const auto start = std::chrono::steady_clock::now();
        std::string outcome;
        try {
            const auto book = readWorkbookFile(file.string());
            std::size_t cells = 0;
            for (std::size_t i = 0; i < book->worksheetCount(); ++i) {
                const CellRange used = book->worksheet(i).usedRange();
                EXPECT_GE(used.lastRow, used.firstRow) << file.filename();
                EXPECT_GE(used.lastCol, used.firstCol) << file.filename();
                cells += std::size_t(used.lastRow - used.firstRow + 1) *
                         std::size_t(used.lastCol - used.firstCol + 1);
            }
            outcome = std::to_string(book->worksheetCount()) + " worksheets, " +
                      std::to_string(cells) + " cells in used ranges";
            ++opened;
        } catch (const ReadError& e) {
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
            outcome = e.what();
        } catch (const std::exception& e) {
            ADD_FAILURE() << file.filename() << ": not a reading error: " << e.what();
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%6.3f s  %-60.60s %s\n", seconds, file.filename().c_str(),
                    outcome.substr(0, 160).c_str());
    }
    std::printf("%d of %zu opened\n", opened, files.size());
    EXPECT_GE(opened, 50);
}

TEST(XlsCorpusTest, ProtectedAndBrokenFilesSayWhatIsWrong) {
    const fs::path password = kCorpus / "files" / "poi__password.xls";
    const fs::path notAWorkbook = kCorpus / "files" / "calamine__too_small.xls";
    if (!fs::exists(password)) GTEST_SKIP() << "no corpus at " << kCorpus;
    try {
        readWorkbookFile(password.string());
        ADD_FAILURE() << "an encrypted workbook opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::PasswordProtected);
    }
    try {
        readWorkbookFile(notAWorkbook.string());
        ADD_FAILURE() << "a text file opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::NotAWorkbook);
    }
}

TEST(XlsCorpusTest, SheetNamesAndKindsFollowTheWorkbook) {
    const fs::path anySheets = kCorpus / "files" / "calamine__any_sheets.xls";
    const fs::path dbcs = kCorpus / "files" / "poi__DBCSSheetName.xls";
    if (!fs::exists(anySheets)) GTEST_SKIP() << "no corpus at " << kCorpus;
    const auto book = readWorkbookFile(anySheets.string());
    ASSERT_EQ(book->worksheetCount(), 3u);  // the chart sheet is no worksheet
    EXPECT_EQ(book->worksheet(0).name(), "Visible");
    EXPECT_EQ(book->worksheet(1).visibility(), SheetVisibility::Hidden);
    EXPECT_EQ(book->worksheet(2).visibility(), SheetVisibility::VeryHidden);
    const auto names = readWorkbookFile(dbcs.string());
    EXPECT_EQ(names->worksheet(0).name(), "जा");
}

// What still differs is LibreOffice's own doing: General numbers with up to 15 digits, booleans
// shown as 1 and 0, recalculated formulas (TODAY(), errors), and cell formats whose number format
// it takes from the parent style (poi__53446.xls, some 2,700 cells) where Excel uses the cell's.
constexpr double kAgreementFloor = 0.955;

TEST(XlsCorpusTest, CellTextAgreesWithLibreOfficesAsShownOutput) {
    if (!fs::exists(kCorpus / "REFERENCE-LO.tsv")) GTEST_SKIP() << "no corpus at " << kCorpus;
    const testing::Agreement overall = testing::compareCorpus(isXlsName);
    ASSERT_GT(overall.compared, 0);
    const double share = testing::printOverall(overall);
    EXPECT_GE(share, kAgreementFloor);
}

// The fraction workbook that Excel saved: a header row names each column's format, and the
// number-format cases hold the text that Excel's own export showed for each value of a column.
TEST(XlsCorpusTest, FractionFormatsShowWhatExcelShowed) {
    const fs::path vectors = fs::path(TABULON_SHARED_DIR) / "vectors";
    const fs::path file = vectors / "workbooks" / "54686_fraction_formats.xls";
    if (!fs::exists(file)) GTEST_SKIP() << "no vectors at " << file;

    std::map<std::pair<std::string, double>, std::string> shown;  // (column, value) -> text
    std::ifstream cases(vectors / "cases.tsv");
    std::string line;
    while (std::getline(cases, line)) {
        std::vector<std::string> fields;
        std::stringstream row(line);
        for (std::string field; std::getline(row, field, '\t');) fields.push_back(field);
        if (fields.size() < 9 || fields[2].find("54686_fraction_formats") == std::string::npos)
            continue;
        shown[{fields[3], std::strtod(fields[6].c_str(), nullptr)}] = fields[8];
    }
    ASSERT_FALSE(shown.empty());

    const auto book = readWorkbookFile(file.string());
    const Worksheet& sheet = book->worksheet(0);
    const CellRange used = sheet.usedRange();
    int compared = 0;
    int equal = 0;
    for (std::int32_t col = used.firstCol; col <= used.lastCol; ++col) {
        const std::string column = sheet.text(1, col);
        for (std::int32_t row = 2; row <= used.lastRow; ++row) {
            const CellValue value = sheet.value(row, col);
            const auto expected = shown.find({column, value.number});
            if (value.kind != CellValue::Kind::Number || expected == shown.end()) continue;
            ++compared;
            const std::string text = sheet.text(row, col);
            if (text == expected->second)
                ++equal;
            else
                std::printf("%s%d (%s) %.17g: \"%s\", Excel showed \"%s\"\n",
                            columnName(col).c_str(), row, column.c_str(), value.number,
                            text.c_str(), expected->second.c_str());
        }
    }
    std::printf("fraction vectors: %d of %d agree\n", equal, compared);
    EXPECT_GT(compared, 2500);
    EXPECT_EQ(equal, compared);
}

}  // namespace
}  // namespace tabulon::workbook

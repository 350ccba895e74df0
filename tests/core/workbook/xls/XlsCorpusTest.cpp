// Real .xls files: every one of the shared corpus opens or gives a clear error quickly, the cell
// texts agree with LibreOffice's as-shown CSVs, and the fraction vector workbook shows what Excel
// showed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../ReferenceCsv.h"
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

// What still differs is mostly LibreOffice's own doing (see the corpus notes): General numbers
// with up to 15 digits, dates before March 1900, recalculated formulas.
constexpr double kAgreementFloor = 0.97;

TEST(XlsCorpusTest, CellTextAgreesWithLibreOfficesAsShownOutput) {
    if (!fs::exists(kCorpus / "REFERENCE-LO.tsv")) GTEST_SKIP() << "no corpus at " << kCorpus;
    const testing::Agreement overall = testing::compareCorpus(isXlsName);
    ASSERT_GT(overall.compared, 0);
    const double share = double(overall.equal) / overall.compared;
    std::printf("overall: %ld of %ld cells agree (%.2f%%)\n", overall.equal, overall.compared,
                100 * share);
    EXPECT_GE(share, kAgreementFloor);
}

// Column A holds the text that Excel showed for the value in column C under the code in B.
TEST(XlsCorpusTest, FractionFormatsShowWhatExcelShowed) {
    const fs::path file =
        fs::path(TABULON_SHARED_DIR) / "vectors" / "workbooks" / "54686_fraction_formats.xls";
    if (!fs::exists(file)) GTEST_SKIP() << "no vectors at " << file;
    const auto book = readWorkbookFile(file.string());
    const Worksheet* tests = nullptr;
    for (std::size_t i = 0; i < book->worksheetCount(); ++i)
        if (book->worksheet(i).name() == "Tests") tests = &book->worksheet(i);
    ASSERT_NE(tests, nullptr);
    const CellRange used = tests->usedRange();
    int compared = 0;
    int equal = 0;
    for (std::int32_t row = used.firstRow; row <= used.lastRow; ++row) {
        const CellValue value = tests->value(row, 3);
        if (value.kind != CellValue::Kind::Number) continue;
        const std::string expected = tests->text(row, 1);
        const std::string shown = tests->text(row, 3);
        ++compared;
        if (shown == expected)
            ++equal;
        else
            std::printf("row %d: code %s value %.17g: %s, Excel showed %s\n", row,
                        tests->text(row, 2).c_str(), value.number, shown.c_str(),
                        expected.c_str());
    }
    std::printf("fraction vectors: %d of %d agree\n", equal, compared);
    ASSERT_GT(compared, 100);
    EXPECT_EQ(equal, compared);
}

}  // namespace
}  // namespace tabulon::workbook

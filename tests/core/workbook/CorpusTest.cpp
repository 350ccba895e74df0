// Real workbooks: every OOXML file of the shared corpus opens or gives a clear error, and the
// cells' Text is compared with the as-shown CSV that LibreOffice made of the same files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ReferenceCsv.h"
#include "core/workbook/CellReference.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;

using testing::kCorpus;

bool isOoxmlName(const fs::path& file) {
    const std::string ext = file.extension().string();
    return ext == ".xlsx" || ext == ".xlsm" || ext == ".xltx" || ext == ".xltm";
}

std::vector<fs::path> corpusOoxmlFiles() {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kCorpus / "files", ec))
        if (isOoxmlName(entry.path())) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(CorpusTest, EveryOoxmlFileOpensOrGivesAClearError) {
    const auto files = corpusOoxmlFiles();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
    int opened = 0;
    int refused = 0;
    for (const fs::path& file : files) {
        try {
            const auto book = readWorkbookFile(file.string());
            for (std::size_t i = 0; i < book->worksheetCount(); ++i) {
                const CellRange used = book->worksheet(i).usedRange();
                EXPECT_GE(used.lastRow, used.firstRow) << file.filename();
                EXPECT_GE(used.lastCol, used.firstCol) << file.filename();
            }
            ++opened;
        } catch (const ReadError& e) {
            // The description names the problem and ends with the file's path or its place.
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
            std::printf("refused %s: %s\n", file.filename().c_str(), e.what());
            ++refused;
        } catch (const std::exception& e) {
            ADD_FAILURE() << file.filename()
                          << ": an error without a reading error's form: " << e.what();
        }
    }
    std::printf("%d opened, %d refused of %zu\n", opened, refused, files.size());
    EXPECT_GT(opened, 60);
}

TEST(CorpusTest, ProtectedAndDamagedFilesSayWhatIsWrong) {
    const fs::path protectedFile = kCorpus / "files" / "calamine__pass_protected.xlsx";
    const fs::path damagedZip =
        kCorpus / "files" /
        "poi__clusterfuzz-testcase-minimized-XLSX2CSVFuzzer-5025401116950528.xlsx";
    const fs::path damagedXml = kCorpus / "files" / "poi__xlsx-corrupted.xlsx";
    if (!fs::exists(protectedFile)) GTEST_SKIP() << "no corpus at " << kCorpus;
    try {
        readWorkbookFile(protectedFile.string());
        ADD_FAILURE() << "protected file opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::PasswordProtected);
        EXPECT_EQ(std::string(e.what()),
                  "The workbook is password-protected: " + protectedFile.string());
    }
    try {
        readWorkbookFile(damagedZip.string());
        ADD_FAILURE() << "damaged file opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::DamagedContainer) << e.what();
        EXPECT_EQ(std::string(e.what()).rfind("The workbook is damaged", 0), 0u) << e.what();
    }
    try {
        readWorkbookFile(damagedXml.string());
        ADD_FAILURE() << "damaged file opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::DamagedXml) << e.what();
    }
}

TEST(CorpusTest, ChartSheetsAreLeftOutOfTheWorksheets) {
    const fs::path file = kCorpus / "files" / "poi__WithChartSheet.xlsx";
    if (!fs::exists(file)) GTEST_SKIP() << "no corpus at " << kCorpus;
    const auto book = readWorkbookFile(file.string());
    std::vector<std::string> names;
    for (std::size_t i = 0; i < book->worksheetCount(); ++i)
        names.push_back(book->worksheet(i).name());
    EXPECT_EQ(names, (std::vector<std::string>{"Sheet1", "Sheet6", "Sheet5", "Sheet4", "Sheet3",
                                               "Sheet2"}));
}

// The cells that still differ are mostly LibreOffice's own doing: pivot tables that it lays out
// afresh, volatile formulas and dynamic arrays that it recalculates, General numbers shown with up
// to 15 digits, and dates before March 1900 a day early.
constexpr double kAgreementFloor = 0.99;

TEST(CorpusTest, CellTextAgreesWithLibreOfficesAsShownOutput) {
    if (!fs::exists(kCorpus / "REFERENCE-LO.tsv")) GTEST_SKIP() << "no corpus at " << kCorpus;
    const testing::Agreement overall =
        testing::compareCorpus([](const std::string& file) { return isOoxmlName(file); });
    ASSERT_GT(overall.compared, 0);
    const double share = testing::printOverall(overall);
    EXPECT_GE(share, kAgreementFloor);
}

}  // namespace
}  // namespace tabulon::workbook

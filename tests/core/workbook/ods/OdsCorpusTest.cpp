// The OpenDocument files of the shared corpus: each opens or gives a clear error, the encrypted
// one says so, and the cells' Text agrees with LibreOffice's as-shown CSVs.
#include <gtest/gtest.h>

#include <algorithm>
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

bool isOdsName(const std::string& file) { return fs::path(file).extension() == ".ods"; }

TEST(OdsCorpusTest, EveryOdsFileOpensOrGivesAClearError) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kCorpus / "files", ec))
        if (isOdsName(entry.path().string())) files.push_back(entry.path());
    if (files.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
    std::sort(files.begin(), files.end());
    int opened = 0;
    for (const fs::path& file : files) {
        try {
            const auto book = readWorkbookFile(file.string());
            EXPECT_GT(book->worksheetCount(), 0u) << file.filename();
            ++opened;
        } catch (const ReadError& e) {
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
            std::printf("refused %s: %s\n", file.filename().c_str(), e.what());
        }
    }
    std::printf("%d of %zu opened\n", opened, files.size());
    // Only the password-protected file is refused.
    EXPECT_EQ(opened, static_cast<int>(files.size()) - 1);
}

TEST(OdsCorpusTest, TheEncryptedFileIsPasswordProtected) {
    const fs::path file = kCorpus / "files" / "calamine__pass_protected.ods";
    if (!fs::exists(file)) GTEST_SKIP() << "no corpus at " << kCorpus;
    try {
        readWorkbookFile(file.string());
        ADD_FAILURE() << "the encrypted file opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::PasswordProtected);
        EXPECT_EQ(std::string(e.what()), "The workbook is password-protected: " + file.string());
    }
}

TEST(OdsCorpusTest, HiddenTablesAreWorksheets) {
    const fs::path file = kCorpus / "files" / "calamine__any_sheets.ods";
    if (!fs::exists(file)) GTEST_SKIP() << "no corpus at " << kCorpus;
    const auto book = readWorkbookFile(file.string());
    ASSERT_EQ(book->worksheetCount(), 4u);
    EXPECT_EQ(book->worksheet(1).name(), "Hidden");
    EXPECT_EQ(book->worksheet(1).visibility(), SheetVisibility::Hidden);
    // The row of text is followed by 16383 styled empty cells, which are no part of the range.
    const CellRange used = book->worksheet(0).usedRange();
    EXPECT_EQ(used.lastRow, 5);
    EXPECT_EQ(used.lastCol, 2);
}

constexpr double kAgreementFloor = 1.0;

TEST(OdsCorpusTest, CellTextAgreesWithLibreOfficesAsShownOutput) {
    if (!fs::exists(kCorpus / "REFERENCE-LO.tsv")) GTEST_SKIP() << "no corpus at " << kCorpus;
    const testing::Agreement overall = testing::compareCorpus(isOdsName);
    ASSERT_GT(overall.compared, 0);
    const double share = testing::printOverall(overall);
    EXPECT_GE(share, kAgreementFloor);
}

}  // namespace
}  // namespace tabulon::workbook

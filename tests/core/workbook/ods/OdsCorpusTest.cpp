// OpenDocument files of the shared corpus with something particular: the encrypted one says so,
// and hidden tables are worksheets.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SharedData.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;

using ::tabulon::testing::kCorpus;

TEST(OdsCorpusTest, TheEncryptedFileIsPasswordProtected) {
    const fs::path file = kCorpus / "files" / "calamine__pass_protected.ods";
    TABULON_REQUIRE_SHARED(file);
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
    TABULON_REQUIRE_SHARED(file);
    const auto book = readWorkbookFile(file.string());
    ASSERT_EQ(book->worksheetCount(), 4u);
    EXPECT_EQ(book->worksheet(1).name(), "Hidden");
    EXPECT_EQ(book->worksheet(1).visibility(), SheetVisibility::Hidden);
    // The row of text is followed by 16383 styled empty cells, which are no part of the range.
    const CellRange used = book->worksheet(0).usedRange();
    EXPECT_EQ(used.lastRow, 5);
    EXPECT_EQ(used.lastCol, 2);
}

}  // namespace
}  // namespace tabulon::workbook

// OOXML workbooks of the shared corpus with something particular: protected and damaged files say
// what is wrong, and chart sheets are no worksheets.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SharedData.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;

using ::tabulon::testing::kCorpus;

TEST(OoxmlCorpusTest, ProtectedAndDamagedFilesSayWhatIsWrong) {
    const fs::path protectedFile = kCorpus / "files" / "calamine__pass_protected.xlsx";
    const fs::path damagedZip =
        kCorpus / "files" /
        "poi__clusterfuzz-testcase-minimized-XLSX2CSVFuzzer-5025401116950528.xlsx";
    const fs::path damagedXml = kCorpus / "files" / "poi__xlsx-corrupted.xlsx";
    TABULON_REQUIRE_SHARED(protectedFile);
    TABULON_REQUIRE_SHARED(damagedZip);
    TABULON_REQUIRE_SHARED(damagedXml);
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

TEST(OoxmlCorpusTest, ChartSheetsAreLeftOutOfTheWorksheets) {
    const fs::path file = kCorpus / "files" / "poi__WithChartSheet.xlsx";
    TABULON_REQUIRE_SHARED(file);
    const auto book = readWorkbookFile(file.string());
    std::vector<std::string> names;
    for (std::size_t i = 0; i < book->worksheetCount(); ++i)
        names.push_back(book->worksheet(i).name());
    EXPECT_EQ(names, (std::vector<std::string>{"Sheet1", "Sheet6", "Sheet5", "Sheet4", "Sheet3",
                                               "Sheet2"}));
}

}  // namespace
}  // namespace tabulon::workbook

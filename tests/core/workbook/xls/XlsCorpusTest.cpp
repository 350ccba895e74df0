// Real .xls files: protected and broken files say what is wrong, sheet names and kinds follow the
// workbook, and the fraction vector workbook shows what Excel showed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "SharedData.h"
#include "core/workbook/CellReference.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;

using ::tabulon::testing::kCorpus;
using ::tabulon::testing::kVectors;

TEST(XlsCorpusTest, ProtectedAndBrokenFilesSayWhatIsWrong) {
    const fs::path password = kCorpus / "files" / "poi__password.xls";
    const fs::path notAWorkbook = kCorpus / "files" / "calamine__too_small.xls";
    TABULON_REQUIRE_SHARED(password);
    TABULON_REQUIRE_SHARED(notAWorkbook);
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
    TABULON_REQUIRE_SHARED(anySheets);
    TABULON_REQUIRE_SHARED(dbcs);
    const auto book = readWorkbookFile(anySheets.string());
    ASSERT_EQ(book->worksheetCount(), 3u);  // the chart sheet is no worksheet
    EXPECT_EQ(book->worksheet(0).name(), "Visible");
    EXPECT_EQ(book->worksheet(1).visibility(), SheetVisibility::Hidden);
    EXPECT_EQ(book->worksheet(2).visibility(), SheetVisibility::VeryHidden);
    const auto names = readWorkbookFile(dbcs.string());
    EXPECT_EQ(names->worksheet(0).name(), "जा");
}

// The fraction workbook that Excel saved: a header row names each column's format, and the
// number-format cases hold the text that Excel's own export showed for each value of a column.
TEST(XlsCorpusTest, FractionFormatsShowWhatExcelShowed) {
    const fs::path file = kVectors / "workbooks" / "54686_fraction_formats.xls";
    TABULON_REQUIRE_SHARED(file);
    TABULON_REQUIRE_SHARED(kVectors / "cases.tsv");

    std::map<std::pair<std::string, double>, std::string> shown;  // (column, value) -> text
    std::ifstream cases(kVectors / "cases.tsv");
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

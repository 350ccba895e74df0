// The budgets that keep a workbook from making the readers hold more than it may: cell text cut at
// the application's limit with one notice for the workbook, the text bytes of all pools, and the
// cells that every reader stores through one writer.
#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "XlsxPackage.h"
#include "core/Units.h"
#include "core/workbook/CellWriter.h"
#include "core/workbook/StringPool.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

using ::tabulon::testing::HandSheet;
using ::tabulon::testing::XlsxPackage;

std::string repeated(std::string_view piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(ReadBudgetTest, CellTextIsCutAfter32767CodeUnitsAtACharacterBoundary) {
    StringPool pool;
    EXPECT_EQ(pool.get(pool.add(std::string(32767, 'a'))).size(), 32767u);
    EXPECT_EQ(pool.cutCount(), 0u);
    EXPECT_EQ(pool.get(pool.add(std::string(40000, 'a'))), std::string(32767, 'a'));
    // Two-byte characters count once; a four-byte one needs two code units and does not fit
    // into the last one.
    EXPECT_EQ(pool.get(pool.add(repeated("\u00e9", 33000))), repeated("\u00e9", 32767));
    EXPECT_EQ(pool.get(pool.add(std::string(32766, 'a') + "\U0001F600b")), std::string(32766, 'a'));
    EXPECT_EQ(pool.cutCount(), 3u);
}

TEST(ReadBudgetTest, ThePoolsOfAWorkbookShareOneTextBudget) {
    TextBudget budget(1000);
    StringPool shared(&budget);
    StringPool local(&budget);
    shared.add(std::string(400, 'a'));
    local.add(std::string(400, 'b'));
    EXPECT_EQ(budget.used(), 800 + 2 * kStringOverhead);
    try {
        local.add(std::string(300, 'c'));
        FAIL() << "the budget did not trip";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::TooLarge);
        EXPECT_NE(std::string(e.what()).find("of cell text"), std::string::npos);
    }
    // A pool that is emptied (a sheet read again by the other parser) gives its bytes back.
    local.clear();
    shared.clear();
    EXPECT_EQ(budget.used(), 300 + kStringOverhead);  // what the failed add had charged
}

TEST(ReadBudgetTest, TheSheetsOfAWorkbookStoreWithinBoundsAndShareOneCellBudget) {
    WorkbookData book;
    book.cellsLeft = 2;
    StoredWorksheet first(book, "First", SheetVisibility::Visible);
    StoredWorksheet second(book, "Second", SheetVisibility::Visible);
    CellWriter one(book, first, {"book.ods", "content.xml", "First", {}});
    CellWriter two(book, second, {"book.ods", "content.xml", "Second", {}});

    const struct {
        std::int32_t row, col;
        const char* detail;
    } outside[] = {{0, 1, "row 0"},
                   {kMaxRows + 1, 1, "row 1048577"},
                   {1, 0, "column 0 of row 1"},
                   {3, kMaxColumns + 1, "column 16385 of row 3"}};
    for (const auto& c : outside) {
        try {
            one.store(c.row, c.col, StoredKind::Number, 0, 1, 0);
            ADD_FAILURE() << c.detail << " was stored";
        } catch (const ReadError& e) {
            EXPECT_EQ(e.kind(), ReadErrorKind::CellOutOfBounds) << c.detail;
            EXPECT_EQ(e.detail(), c.detail);
        }
    }
    EXPECT_EQ(book.cellsLeft, 2u);  // nothing charged for a cell that was refused

    one.store(kMaxRows, kMaxColumns, StoredKind::Number, 0, 1, 0);
    two.store(1, 1, StoredKind::Number, 0, 2, 0);
    try {
        one.store(1, 1, StoredKind::Number, 0, 3, 0);
        FAIL() << "the cell budget did not trip";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::TooManyCells);
        EXPECT_EQ(e.place().sheet, "First");
    }
    EXPECT_EQ(first.cells().size() + second.cells().size(), 2u);
}

TEST(ReadBudgetTest, AWorkbookWithLongTextsReadsThemCutAndSaysSoOnce) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("long.xlsx");
    XlsxPackage::workbook(
        {HandSheet(
            "S",
            "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"inlineStr\"><is><t>" +
                std::string(50000, 'i') + "</t></is></c><c r=\"C1\" t=\"s\"><v>1</v></c></row>")},
        "<si><t>" + repeated("_x0041_", 40000) + "</t></si><si><t>short</t></si>")
        .write(path);
    const auto book = readWorkbookFile(path);
    const Worksheet& sheet = book->worksheet(0);
    EXPECT_EQ(sheet.text(1, 1), std::string(32767, 'A'));  // escapes decoded before the cut
    EXPECT_EQ(sheet.text(1, 2), std::string(32767, 'i'));
    EXPECT_EQ(sheet.text(1, 3), "short");
    EXPECT_EQ(book->notice(), "Text longer than 32767 characters was cut to that length (2 texts)");

    XlsxPackage::workbook({HandSheet("S", "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>")},
                          "<si><t>fine</t></si>")
        .write(path);
    EXPECT_EQ(readWorkbookFile(path)->notice(), "");
}

}  // namespace
}  // namespace tabulon::workbook

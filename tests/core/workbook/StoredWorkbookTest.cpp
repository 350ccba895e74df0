// A workbook's worksheets read when asked for, held until released, and a failed read kept.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ReadWholeWorkbook.h"
#include "ScratchFolder.h"
#include "XlsxPackage.h"
#include "core/workbook/CellWriter.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/StoredWorkbook.h"

namespace tabulon::workbook {
namespace {

// A reader of sheets of `cells` number cells each; the sheet named "Bad" is damaged after its
// cells were read.
class ScriptedReader : public WorkbookReader {
  public:
    ScriptedReader(std::vector<std::string> names, int cells, int& reads)
        : names_(std::move(names)), cells_(cells), reads_(reads) {}

    std::vector<WorksheetEntry> open(WorkbookData&) override {
        std::vector<WorksheetEntry> entries;
        for (const std::string& name : names_) entries.push_back({name, SheetVisibility::Visible});
        return entries;
    }
    std::unique_ptr<StoredWorksheet> readWorksheet(std::size_t, const WorksheetEntry& entry,
                                                   const WorkbookData& book) override {
        ++reads_;
        auto sheet = std::make_unique<StoredWorksheet>(book, entry.name, entry.visibility);
        CellWriter cells(book, *sheet, {});
        for (int r = 1; r <= cells_; ++r) cells.store(r, 1, StoredKind::Number, 0, r, 0);
        if (entry.name == "Bad") throw ReadError(ReadErrorKind::DamagedXml, {}, "line 1");
        sheet->cells().finish();
        return sheet;
    }

  private:
    std::vector<std::string> names_;
    int cells_;
    int& reads_;
};

TEST(StoredWorkbookTest, SheetsAreReadWhenAskedForAndTheirCellsGoBackWhenReleased) {
    int reads = 0;
    StoredWorkbook book("book.xlsx",
                        std::make_unique<ScriptedReader>(
                            std::vector<std::string>{"One", "Two", "Three"}, 5, reads));
    ASSERT_EQ(book.worksheetCount(), 3u);
    EXPECT_EQ(book.worksheetName(2), "Three");
    EXPECT_EQ(reads, 0);

    EXPECT_EQ(book.worksheet(1).usedRange().lastRow, 5);
    EXPECT_EQ(&book.worksheet(1), &book.worksheet(1));
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(book.data().cellsLeft, kMaxCells - 5);

    book.release(1);
    EXPECT_EQ(book.data().cellsLeft, kMaxCells);
    EXPECT_THROW(book.worksheet(1), std::logic_error);
    EXPECT_EQ(book.worksheet(0).name(), "One");
    EXPECT_EQ(reads, 2);
}

TEST(StoredWorkbookTest, ADamagedSheetNamesFileAndSheetAndStaysDamaged) {
    int reads = 0;
    StoredWorkbook book("book.xlsx", std::make_unique<ScriptedReader>(
                                         std::vector<std::string>{"Good", "Bad"}, 3, reads));
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            book.worksheet(1);
            ADD_FAILURE() << "the damaged sheet was read";
        } catch (const ReadError& e) {
            EXPECT_EQ(e.kind(), ReadErrorKind::DamagedXml);
            EXPECT_EQ(e.place().file, "book.xlsx");
            EXPECT_EQ(e.place().sheet, "Bad");
        }
    }
    EXPECT_EQ(reads, 1);
    // The cells the damaged sheet had read before it failed are not held, nor charged.
    EXPECT_EQ(book.data().cellsLeft, kMaxCells);
    EXPECT_EQ(book.worksheet(0).value(1, 1).number, 1);
}

// A sheet's relationship id that the workbook part's relationships give twice names the first.
TEST(StoredWorkbookTest, ARepeatedRelationshipIdNamesTheFirstPart) {
    testing::XlsxPackage package = testing::XlsxPackage::workbook(
        {testing::HandSheet("S", "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"),
         testing::HandSheet("T", "<row r=\"1\"><c r=\"A1\"><v>2</v></c></row>")});
    const std::string rels =
        "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/"
        "package/2006/relationships\">";
    const std::string sheet =
        "<Relationship Id=\"rIdS1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
        "2006/relationships/worksheet\" Target=\"worksheets/sheet";
    const std::string second =
        "<Relationship Id=\"rIdS2\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
        "2006/relationships/worksheet\" Target=\"worksheets/sheet2.xml\"/>";
    package.setPart("xl/_rels/workbook.xml.rels",
                    rels + sheet + "1.xml\"/>" + sheet + "2.xml\"/>" + second + "</Relationships>");
    testing::ScratchFolder folder;
    const std::string path = folder.file("twice.xlsx");
    package.write(path);
    const auto book = testing::readWholeWorkbook(path);
    ASSERT_EQ(book->worksheetCount(), 2u);
    EXPECT_EQ(book->worksheet(0).value(1, 1).number, 1);
}

}  // namespace
}  // namespace tabulon::workbook

// The binary workbook reader on hand-built packages: every cell record, shared strings, styles,
// the date system, sheet kinds, and damaged or hostile parts.
#include <gtest/gtest.h>

#include "ExpectCells.h"
#include "ReadWholeWorkbook.h"
#include "ScratchFolder.h"
#include "XlsbBuilder.h"
#include "core/numfmt/NumberFormat.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

using namespace testing::xlsb;
using testing::XlsxPackage;

// Cell record types.
constexpr std::uint32_t kBlank = 1, kRk = 2, kError = 3, kBool = 4, kReal = 5, kString = 6,
                        kShared = 7, kFmlaString = 8, kFmlaNum = 9, kFmlaBool = 10, kFmlaError = 11,
                        kRichString = 62;

// A formula's cell record: the cached value, flags, then formula bytes the reader passes over.
std::string formula(std::uint32_t type, std::uint32_t col, const std::string& value) {
    return cell(type, col, 0, value + u16(0) + u32(3) + "\x1E\x01\x00" + u32(0));
}

// A string item: flags, text, then the runs and phonetic data that the flags announce.
std::string stringItem(std::uint8_t flags, const std::string& text, const std::string& tail = {}) {
    return record(19, u8(flags) + wide(text) + tail);
}

// Styles: custom format 164, a cell style format that must not count, three cell formats.
const std::string kStyles =
    record(615, u32(1)) + record(44, u16(164) + wide("yyyy-mm-dd")) + record(616) +
    record(626, u32(1)) + record(47, u16(0xFFFF) + u16(10) + std::string(12, '\0')) + record(627) +
    record(617, u32(3)) + record(47, u16(0) + u16(0) + std::string(12, '\0')) +
    record(47, u16(0) + u16(164) + std::string(12, '\0')) +
    record(47, u16(0) + u16(10) + std::string(12, '\0')) + record(618);

class XlsbReaderTest : public ::testing::Test {
  protected:
    std::unique_ptr<Workbook> read(const XlsxPackage& package) {
        return readWorkbookFile(write(package));
    }
    std::string write(const XlsxPackage& package) {
        const std::string path = folder_.file("book" + std::to_string(++count_) + ".xlsb");
        package.write(path);
        return path;
    }
    ReadError errorOf(const XlsxPackage& package) {
        try {
            testing::readWholeWorkbook(write(package));
        } catch (const ReadError& e) {
            return e;
        }
        ADD_FAILURE() << "the workbook opened";
        return ReadError(ReadErrorKind::CannotRead, {});
    }

    testing::ScratchFolder folder_;
    int count_ = 0;
};

TEST_F(XlsbReaderTest, EveryCellRecordGivesItsTextAndValue) {
    const std::string cells =
        row(0) + cell(kRk, 0, 0, u32((42u << 2) | 2)) + cell(kReal, 1, 0, f64(-0.125)) +
        cell(kString, 2, 0, wide("inline \xE2\x82\xAC")) + cell(kShared, 3, 0, u32(1)) +
        cell(kBool, 4, 0, u8(1)) + cell(kBool, 5, 0, u8(0)) + cell(kError, 6, 0, u8(0x07)) +
        cell(kRichString, 7, 0, u8(1) + wide("rich") + u32(1) + u16(0) + u16(0)) + row(1) +
        formula(kFmlaString, 0, wide("ab")) + formula(kFmlaNum, 1, f64(2.5)) +
        formula(kFmlaBool, 2, u8(1)) + formula(kFmlaError, 3, u8(0x2A)) + cell(kBlank, 4, 2) +
        cell(kBlank, 5, 0) + row(2) + cell(kRk, 2, 0, u32(0x3FF80000u | 1));
    const auto book =
        read(binaryWorkbook({{"S", cells}}, stringItem(0, "zero") + stringItem(0, "one"), kStyles));
    const Worksheet& s = book->worksheet(0);
    EXPECT_EQ(s.text(1, 1), "42");
    EXPECT_EQ(s.value(1, 1).kind, CellValue::Kind::Number);
    EXPECT_EQ(s.value(1, 1).number, 42.0);
    tabulon::testing::expectCells(s, {{"B1", "-0.125"},
                                      {"C1", "inline \xE2\x82\xAC", CellValue::Kind::Text},
                                      {"D1", "one"},
                                      {"E1", "TRUE", CellValue::Kind::Boolean},
                                      {"F1", "FALSE"}});
    EXPECT_TRUE(s.value(1, 5).boolean);
    EXPECT_FALSE(s.value(1, 6).boolean);
    EXPECT_EQ(s.text(1, 7), "#DIV/0!");
    EXPECT_EQ(s.value(1, 7).kind, CellValue::Kind::Error);
    EXPECT_EQ(s.value(1, 7).text, "#DIV/0!");
    EXPECT_EQ(s.text(1, 8), "rich");

    tabulon::testing::expectCells(
        s, {{"A2", "ab", CellValue::Kind::Text}, {"B2", "2.5"}, {"C2", "TRUE"}, {"D2", "#N/A"}});
    // A blank cell with a format is stored (it counts for the used range) but shows nothing; a
    // blank cell in the default format adds nothing.
    EXPECT_EQ(s.text(2, 5), "");
    EXPECT_EQ(s.value(2, 5).kind, CellValue::Kind::Empty);
    EXPECT_EQ(s.text(3, 3), "0.015");
    const CellRange used = s.usedRange();
    EXPECT_EQ(used.lastRow, 3);
    EXPECT_EQ(used.lastCol, 8);
}

TEST_F(XlsbReaderTest, CellFormatsGiveNumbersTheirFormats) {
    const std::string cells = row(0) + cell(kRk, 0, 1, u32((44197u << 2) | 2)) +
                              cell(kReal, 1, 2, f64(0.25)) + cell(kReal, 2, 0, f64(0.25)) +
                              cell(kReal, 3, 0x00123456, f64(0.5)) +
                              cell(kRk, 4, 0x0F000002, u32((7u << 2) | 2));
    const auto book = read(binaryWorkbook({{"S", cells}}, {}, kStyles));
    const Worksheet& s = book->worksheet(0);
    tabulon::testing::expectCells(s, {{"A1", "2021-01-01", CellValue::Kind::Date},
                                      {"B1", "25.00%", CellValue::Kind::Number},
                                      {"C1", "0.25"}});
    // A style index beyond the cell formats falls back to General; the flags in the style
    // field's top byte do not belong to the index.
    EXPECT_EQ(s.text(1, 4), "0.5");
    EXPECT_EQ(s.text(1, 5), "700.00%");
}

TEST_F(XlsbReaderTest, The1904DateSystemShiftsDates) {
    const std::string cells = row(0) + cell(kRk, 0, 1, u32((42735u << 2) | 2));
    const auto book1900 = read(binaryWorkbook({{"S", cells}}, {}, kStyles, false));
    const auto book1904 = read(binaryWorkbook({{"S", cells}}, {}, kStyles, true));
    EXPECT_FALSE(book1900->date1904());
    EXPECT_TRUE(book1904->date1904());
    EXPECT_EQ(book1900->worksheet(0).text(1, 1), "2016-12-31");
    EXPECT_EQ(book1904->worksheet(0).text(1, 1), "2021-01-01");
}

TEST_F(XlsbReaderTest, SharedStringsLeaveOutRichRunsAndPhoneticText) {
    // Item 0 rich (two runs), item 1 with phonetic data, item 2 with both, item 3 plain.
    const std::string runs = u32(2) + u16(0) + u16(1) + u16(3) + u16(2);
    const std::string phonetic = u16(0) + u16(0) + u32(0) + wide("\xE3\x83\x88") + u32(0);
    const std::string strings = stringItem(1, "rich", runs) +
                                stringItem(2, "\xE8\xB1\x8A\xE7\x94\xB0", phonetic) +
                                stringItem(3, "both", runs + phonetic) + stringItem(0, "plain");
    const std::string cells = row(4) + cell(kShared, 0, 0, u32(0)) + cell(kShared, 1, 0, u32(1)) +
                              cell(kShared, 2, 0, u32(2)) + cell(kShared, 3, 0, u32(3));
    const auto book = read(binaryWorkbook({{"S", cells}}, strings));
    const Worksheet& s = book->worksheet(0);
    tabulon::testing::expectCells(
        s, {{"A5", "rich"}, {"B5", "\xE8\xB1\x8A\xE7\x94\xB0"}, {"C5", "both"}, {"D5", "plain"}});
    EXPECT_EQ(s.usedRange().firstRow, 5);
}

TEST_F(XlsbReaderTest, OnlyWorksheetsCountWithTheirNamesAndVisibility) {
    XlsxPackage package = binaryWorkbook({{"First", row(0) + cell(kRk, 0, 0, u32(6))},
                                          {"Chart", "", "chartsheet"},
                                          {"Hidden \xF0\x9F\x98\x80", "", "worksheet", 1},
                                          {"Macros", "", "xlMacrosheet"},
                                          {"Dialog", "", "dialogsheet"},
                                          {"Deep", "", "worksheet", 2}});
    const auto book = read(package);
    ASSERT_EQ(book->worksheetCount(), 3u);
    EXPECT_EQ(book->worksheet(0).name(), "First");
    EXPECT_EQ(book->worksheet(0).visibility(), SheetVisibility::Visible);
    EXPECT_EQ(book->worksheet(1).name(), "Hidden \xF0\x9F\x98\x80");
    EXPECT_EQ(book->worksheet(1).visibility(), SheetVisibility::Hidden);
    EXPECT_EQ(book->worksheet(2).name(), "Deep");
    EXPECT_EQ(book->worksheet(2).visibility(), SheetVisibility::VeryHidden);
    // An empty sheet's used range is A1 alone.
    const CellRange used = book->worksheet(1).usedRange();
    EXPECT_TRUE(used.firstRow == 1 && used.lastRow == 1 && used.firstCol == 1 && used.lastCol == 1);
}

TEST_F(XlsbReaderTest, DamagedPartsAreReportedWithTheirPlace) {
    const std::string good = row(0) + cell(kReal, 0, 0, f64(1)) + cell(kReal, 1, 0, f64(2));

    // A sheet part cut inside a record.
    XlsxPackage cut = binaryWorkbook({{"S", good}});
    cut.setPart("xl/worksheets/sheet1.bin", (record(129) + record(145) + good).substr(0, 30));
    const std::string cutPath = write(cut);
    try {
        testing::readWholeWorkbook(cutPath);
        ADD_FAILURE() << "cut sheet opened";
    } catch (const ReadError& e) {
        EXPECT_STREQ(e.what(), ("The workbook is damaged: bad records in "
                                "xl/worksheets/sheet1.bin (the last record is cut short): " +
                                cutPath + ", sheet S")
                                   .c_str());
    }

    // A cell record too short for its value, and a text longer than its record.
    EXPECT_EQ(errorOf(binaryWorkbook({{"S", row(0) + cell(kReal, 0, 0, u32(1))}})).kind(),
              ReadErrorKind::DamagedRecords);
    EXPECT_EQ(
        errorOf(binaryWorkbook({{"S", row(0) + cell(kString, 0, 0, u32(0x40000000))}})).kind(),
        ReadErrorKind::DamagedRecords);
    EXPECT_EQ(errorOf(binaryWorkbook({{"S", good}}, record(19, u8(0) + u32(0xFFFFFFF0)))).kind(),
              ReadErrorKind::DamagedRecords);

    // A workbook part whose sheet bundle is cut short names that part.
    XlsxPackage badBook = binaryWorkbook({{"S", good}});
    badBook.setPart("xl/workbook.bin", record(131) + record(156, u32(0) + u32(1) + u32(50)));
    const ReadError bookError = errorOf(badBook);
    EXPECT_EQ(bookError.kind(), ReadErrorKind::DamagedRecords);
    EXPECT_EQ(bookError.place().part, "xl/workbook.bin");

    // Styles cut inside a cell format.
    EXPECT_EQ(errorOf(binaryWorkbook({{"S", good}}, {}, record(617) + record(47, u16(0)))).kind(),
              ReadErrorKind::DamagedRecords);
}

TEST_F(XlsbReaderTest, ValuesAndPlacesOutsideTheSheetAreRefused) {
    const ReadError column = errorOf(binaryWorkbook({{"S", row(2) + cell(kRk, 16384, 0, u32(2))}}));
    EXPECT_EQ(column.kind(), ReadErrorKind::CellOutOfBounds);
    EXPECT_NE(std::string(column.what()).find("column 16385 of row 3"), std::string::npos);
    EXPECT_EQ(errorOf(binaryWorkbook({{"S", row(1048576)}})).kind(),
              ReadErrorKind::CellOutOfBounds);
    // The last row and column are inside.
    const auto edge = read(binaryWorkbook({{"S", row(1048575) + cell(kRk, 16383, 0, u32(6))}}));
    EXPECT_EQ(edge->worksheet(0).text(1048576, 16384), "1");

    const ReadError shared =
        errorOf(binaryWorkbook({{"S", row(0) + cell(kShared, 1, 0, u32(5))}}, stringItem(0, "a")));
    EXPECT_EQ(shared.kind(), ReadErrorKind::BadCellValue);
    EXPECT_EQ(shared.place().cell, "B1");
    EXPECT_EQ(shared.place().sheet, "S");
    EXPECT_EQ(errorOf(binaryWorkbook({{"S", row(0) + cell(kError, 0, 0, u8(0x01))}})).kind(),
              ReadErrorKind::BadCellValue);
    EXPECT_EQ(errorOf(binaryWorkbook({{"S", row(0) + cell(kReal, 0, 0, f64(1.0 / 0.0))}})).kind(),
              ReadErrorKind::BadCellValue);
}

TEST_F(XlsbReaderTest, MissingPartsAreNamed) {
    XlsxPackage noSheet = binaryWorkbook({{"S", ""}});
    noSheet.removePart("xl/worksheets/sheet1.bin");
    EXPECT_EQ(errorOf(noSheet).kind(), ReadErrorKind::MissingPart);

    XlsxPackage noRelationship = binaryWorkbook({{"S", ""}});
    noRelationship.setPart("xl/_rels/workbook.bin.rels", "<Relationships/>");
    const ReadError e = errorOf(noRelationship);
    EXPECT_EQ(e.kind(), ReadErrorKind::MissingPart);
    EXPECT_EQ(e.place().sheet, "S");
}

}  // namespace
}  // namespace tabulon::workbook

// The .xls reader on hand-built records: cell kinds, RK forms, shared strings across CONTINUE
// records, formula results, date systems, sheet kinds, code pages, damage and BIFF2-4 files.
#include <gtest/gtest.h>

#include <cstring>

#include "BiffBuilder.h"
#include "ExpectCells.h"
#include "ReadWholeWorkbook.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook::xls {
namespace {

using testing::Bytes;
using testing::record;
using testing::SheetSpec;

std::unique_ptr<Workbook> readStream(const std::string& stream, const char* name = "Workbook") {
    return readWorkbookFile(
        testing::writeTempFile("book.xls", testing::compoundFile({{name, stream}})));
}

ReadError errorOf(const std::string& stream) {
    try {
        tabulon::testing::readWholeWorkbook(
            testing::writeTempFile("book.xls", testing::compoundFile({{"Workbook", stream}})));
    } catch (const ReadError& e) {
        return e;
    }
    ADD_FAILURE() << "the workbook opened";
    return ReadError(ReadErrorKind::NotAWorkbook, {});
}

std::string xf(unsigned formatId) {
    return record(0x00E0, Bytes().u16(0).u16(formatId).u16(0).raw(std::string(14, '\0')));
}
std::string format(unsigned id, const std::string& code) {
    return record(0x041E, Bytes().u16(id).text8(code));
}
std::string number(unsigned row, unsigned col, unsigned style, double v) {
    return record(0x0203, Bytes().u16(row).u16(col).u16(style).f64(v));
}
std::string rk(unsigned row, unsigned col, std::uint32_t value) {
    return record(0x027E, Bytes().u16(row).u16(col).u16(0).u32(value));
}
std::string labelSst(unsigned row, unsigned col, std::uint32_t index) {
    return record(0x00FD, Bytes().u16(row).u16(col).u16(0).u32(index));
}
// A FORMULA record with the 8 bytes of its cached result and an empty expression.
std::string formula(unsigned row, unsigned col, const std::string& result) {
    return record(0x0006, Bytes().u16(row).u16(col).u16(0).raw(result).u16(0).u32(0).u16(0));
}
std::string special(unsigned type, unsigned value) {
    return Bytes().u8(type).u8(0).u8(value).u8(0).u8(0).u8(0).u16(0xFFFF);
}
std::string sst(const std::vector<std::string>& strings) {
    Bytes b;
    b.u32(std::uint32_t(strings.size())).u32(std::uint32_t(strings.size()));
    for (const std::string& s : strings) b.text8(s);
    return record(0x00FC, b);
}

std::uint32_t rkDouble(double v, bool times100) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return std::uint32_t(bits >> 32) | (times100 ? 1u : 0u);
}

TEST(XlsReaderTest, CellRecordsGiveTextAndValue) {
    const std::string stream = testing::workbookStream(
        {format(164, "0.00"), xf(0), xf(14), xf(164), sst({"alpha", "beta"})},
        {{"Data",
          {number(0, 0, 2, 1.5), rk(0, 1, (123u << 2) | 2), rk(0, 2, (12345u << 2) | 3),
           rk(0, 3, rkDouble(1.5, false)), rk(0, 4, rkDouble(3.0, true)),
           rk(0, 5, (std::uint32_t(-7) << 2) | 2),
           // MULRK: A2:B2 dates, then the last column
           record(0x00BD, Bytes()
                              .u16(1)
                              .u16(0)
                              .u16(1)
                              .u32((44197u << 2) | 2)
                              .u16(2)
                              .u32(rkDouble(0.25, false))
                              .u16(1)),
           labelSst(2, 0, 1), record(0x0204, Bytes().u16(2).u16(1).u16(0).text8("gamma")),
           record(0x0205, Bytes().u16(2).u16(2).u16(0).u8(1).u8(0)),
           record(0x0205, Bytes().u16(2).u16(3).u16(0).u8(0x07).u8(1)),
           // MULBLANK: C10:G10 formatted but empty
           record(0x00BE, Bytes().u16(9).u16(2).u16(2).u16(2).u16(2).u16(2).u16(2).u16(6))}}});
    const auto book = readStream(stream);
    ASSERT_EQ(book->worksheetCount(), 1u);
    const Worksheet& sheet = book->worksheet(0);
    EXPECT_EQ(sheet.name(), "Data");
    tabulon::testing::expectCells(sheet, {{"A1", "1.50"},
                                          {"B1", "123"},
                                          {"C1", "123.45"},
                                          {"D1", "1.5"},
                                          {"E1", "0.03"},
                                          {"F1", "-7"},
                                          {"A2", "1/1/2021", CellValue::Kind::Date},
                                          {"B2", "0.25"},
                                          {"A3", "beta"},
                                          {"B3", "gamma"},
                                          {"C3", "TRUE", CellValue::Kind::Boolean},
                                          {"D3", "#DIV/0!", CellValue::Kind::Error},
                                          {"C10", "", CellValue::Kind::Empty}});
    const CellRange used = sheet.usedRange();
    EXPECT_EQ(used.lastRow, 10);
    EXPECT_EQ(used.lastCol, 7);
}

TEST(XlsReaderTest, SharedStringsGoOnAcrossContinueRecords) {
    // "abc" then, behind a fresh flags byte, UTF-16 "dé€"; a rich string whose runs are split;
    // a string with phonetic data.
    const std::string first = Bytes().u32(4).u32(4).text8("plain").u16(6).u8(0).raw("abc");
    const std::string second =
        Bytes().u8(1).u16('d').u16(0xE9).u16(0x20AC).u16(3).u8(0x08).u16(2).raw("xyz").u32(
            0x00010000);
    const std::string third =
        Bytes().u32(0x00020003).u16(2).u8(0x04).u32(6).raw("ok").raw(std::string(6, '\x7F'));
    const std::string stream = testing::workbookStream(
        {xf(0), record(0x00FC, first), record(0x003C, second), record(0x003C, third)},
        {{"S", {labelSst(0, 0, 0), labelSst(1, 0, 1), labelSst(2, 0, 2), labelSst(3, 0, 3)}}});
    const auto book = readStream(stream);
    const Worksheet& sheet = book->worksheet(0);
    tabulon::testing::expectCells(
        sheet, {{"A1", "plain"}, {"A2", "abcd\xC3\xA9\xE2\x82\xAC"}, {"A3", "xyz"}, {"A4", "ok"}});
}

TEST(XlsReaderTest, FormulasShowTheirCachedResults) {
    const std::string longText = record(0x0207, Bytes().u16(6).u8(0).raw("abc")) +
                                 record(0x003C, Bytes().u8(1).u16('d').u16('e').u16(0x00FC));
    const std::string stream = testing::workbookStream(
        {xf(0)}, {{"F",
                   {formula(0, 0, Bytes().f64(42)), formula(0, 1, special(0, 0)),
                    record(0x04BC, std::string(10, '\0')),  // a shared formula between the two
                    record(0x0207, Bytes().text8("from formula")), formula(0, 2, special(1, 1)),
                    formula(0, 3, special(2, 0x2A)), formula(0, 4, special(3, 0)),
                    formula(0, 5, special(0, 0)), longText}}});
    const auto book = readStream(stream);
    const Worksheet& sheet = book->worksheet(0);
    tabulon::testing::expectCells(sheet, {{"A1", "42"},
                                          {"B1", "from formula"},
                                          {"C1", "TRUE"},
                                          {"D1", "#N/A"},
                                          {"E1", "", CellValue::Kind::Text},
                                          {"F1", "abcde\xC3\xBC"}});
}

TEST(XlsReaderTest, DateModeSelectsThe1904System) {
    const std::string stream = testing::workbookStream(
        {record(0x0022, Bytes().u16(1)), xf(0), xf(14)}, {{"D", {number(0, 0, 1, 0)}}});
    const auto book = readStream(stream);
    EXPECT_TRUE(book->date1904());
    EXPECT_EQ(book->worksheet(0).text(1, 1), "1/1/1904");
}

TEST(XlsReaderTest, EncryptedWorkbooksArePasswordProtected) {
    // RC4 version 1.1 with a verifier that no password matches.
    const std::string stream = testing::workbookStream(
        {record(0x002F, Bytes().u16(1).u16(1).u16(1).raw(std::string(48, '\0')))}, {{"S", {}}});
    EXPECT_EQ(errorOf(stream).kind(), ReadErrorKind::PasswordProtected);
    // XOR obfuscation whose key and verifier no password matches.
    const std::string xor_ = testing::workbookStream(
        {record(0x002F, Bytes().u16(0).u16(0x1234).u16(0x5678))}, {{"S", {}}});
    EXPECT_EQ(errorOf(xor_).kind(), ReadErrorKind::PasswordProtected);
}

TEST(XlsReaderTest, OnlyWorksheetsAreWorksheets) {
    SheetSpec chart{"Chart1", {}, 2, 0x0020};
    SheetSpec macro{"Macro1", {}, 1, 0x0040};
    SheetSpec hidden{"Hidden", {number(0, 0, 0, 1)}, 0, 0x0010, 1};
    SheetSpec dialog{"Dialog1", {record(0x0081, Bytes().u16(0x0011))}, 0, 0x0010};
    const std::string embeddedChart =
        record(0x0809, Bytes().u16(0x0600).u16(0x0020).u32(0).u32(0).u32(0)) + number(5, 5, 0, 99) +
        record(0x000A, {});
    SheetSpec data{"Data", {number(0, 0, 0, 1), embeddedChart}};
    const auto book =
        readStream(testing::workbookStream({xf(0)}, {data, chart, macro, hidden, dialog}));
    ASSERT_EQ(book->worksheetCount(), 2u);
    EXPECT_EQ(book->worksheet(0).name(), "Data");
    EXPECT_EQ(book->worksheet(0).usedRange().lastRow, 1);  // the chart's record is not a cell
    EXPECT_EQ(book->worksheet(1).name(), "Hidden");
    EXPECT_EQ(book->worksheet(1).visibility(), SheetVisibility::Hidden);
}

TEST(XlsReaderTest, Biff5TextIsReadInItsCodePage) {
    const std::string label =
        record(0x0204, Bytes().u16(0).u16(0).u16(1).u16(6).raw("\xCF\xF0\xE8\xE2\xE5\xF2"));
    const std::string biff5Format = record(0x041E, Bytes().u16(164).u8(4).raw("0.0%"));
    const std::string stream =
        testing::workbookStream({record(0x0042, Bytes().u16(1251)), biff5Format, xf(0), xf(164)},
                                {{"\xCB\xE8\xF1\xF2", {label, number(1, 0, 1, 0.125)}}}, true);
    const auto book = readStream(stream, "Book");
    const Worksheet& sheet = book->worksheet(0);
    EXPECT_EQ(sheet.name(), "Лист");
    EXPECT_EQ(sheet.text(1, 1), "Привет");
    EXPECT_EQ(sheet.text(2, 1), "12.5%");
}

TEST(XlsReaderTest, DamagedStreamsAreReportedWithTheirSheet) {
    const ReadError cut =
        errorOf(testing::workbookStream({xf(0)}, {{"Cut", {record(0x0203, "\1\0\1\0")}}}));
    EXPECT_EQ(cut.kind(), ReadErrorKind::DamagedRecords);
    EXPECT_EQ(cut.place().sheet, "Cut");

    std::string truncated = testing::workbookStream({xf(0)}, {{"S", {number(0, 0, 0, 1)}}});
    truncated.resize(truncated.size() - 10);
    EXPECT_EQ(errorOf(truncated).kind(), ReadErrorKind::DamagedRecords);

    const ReadError missingString =
        errorOf(testing::workbookStream({xf(0), sst({"a"})}, {{"S", {labelSst(0, 0, 5)}}}));
    EXPECT_EQ(missingString.kind(), ReadErrorKind::BadCellValue);
    EXPECT_EQ(missingString.place().cell, "A1");

    const std::string badSheet = testing::workbookStream({xf(0)}, {{"S", {}}});
    EXPECT_EQ(errorOf(badSheet.substr(0, badSheet.size() - 24) + std::string(24, '\0')).kind(),
              ReadErrorKind::DamagedRecords);
}

TEST(XlsReaderTest, LoneStringsThatClaimMoreThanTheirRecordAreCutThere) {
    // A FORMAT that declares one character more than it holds, one with a zero length field, a
    // LABEL whose count runs past its record and one whose rich-text runs are missing.
    const std::string stream = testing::workbookStream(
        {record(0x041E, Bytes().u16(164).u16(5).u8(0).raw("0.00")), record(0x041E, {}), xf(0),
         xf(164)},
        {{"S",
          {number(0, 0, 1, 1.5),
           record(0x0204, Bytes().u16(1).u16(0).u16(0).u16(10).u8(0).raw("abc")),
           record(0x0204, Bytes().u16(2).u16(0).u16(0).u16(2).u8(0x08).u16(3).raw("de")),
           record(0x0204,
                  Bytes().u16(3).u16(0).u16(0).u16(4).u8(0x01).raw(std::string("f\0g", 3)))}}});
    const auto book = readStream(stream);
    const Worksheet& sheet = book->worksheet(0);
    tabulon::testing::expectCells(sheet, {{"A1", "1.50"},
                                          {"A2", "abc"},
                                          {"A3", "de"},
                                          {"A4", "f"},  // half a wide character is dropped
                                          {"A5", ""}});

    // In the shared-string table a short string would put every later string out of step.
    Bytes table;
    table.u32(2).u32(2).u16(9).u8(0).raw("abc");
    EXPECT_EQ(errorOf(testing::workbookStream({xf(0), record(0x00FC, table)}, {{"S", {}}})).kind(),
              ReadErrorKind::DamagedRecords);
}

TEST(XlsReaderTest, SheetEntriesThatPointIntoTheGlobalsAreReported) {
    std::string stream = testing::workbookStream({xf(0)}, {{"Loop", {number(0, 0, 0, 1)}}});
    // The BOUNDSHEET record follows the BOF (4 + 16 bytes) and the XF; its position field is
    // the first of its data.
    const std::size_t boundSheet = stream.find(std::string("\x85\x00", 2));
    ASSERT_NE(boundSheet, std::string::npos);
    for (const std::uint32_t position : {0u, 24u}) {
        std::memcpy(stream.data() + boundSheet + 4, &position, 4);
        const ReadError error = errorOf(stream);
        EXPECT_EQ(error.kind(), ReadErrorKind::DamagedRecords);
        EXPECT_EQ(error.place().sheet, "Loop");
        EXPECT_NE(std::string(error.what()).find("workbook globals"), std::string::npos)
            << error.what();
    }
    const std::uint32_t outside = 1u << 30;
    std::memcpy(stream.data() + boundSheet + 4, &outside, 4);
    EXPECT_EQ(errorOf(stream).place().sheet, "Loop");
}

TEST(XlsReaderTest, BareBiff4AndBiff2WorksheetsAreRead) {
    const auto biff4Format = [](const std::string& code) {
        return record(0x041E, Bytes().u16(0).u8(unsigned(code.size())).raw(code));
    };
    const std::string biff4 =
        record(0x0409, Bytes().u16(0).u16(0x0010).u16(0)) + biff4Format("General") +
        biff4Format("0.000") + record(0x0443, Bytes().u8(0).u8(1).raw(std::string(10, '\0'))) +
        record(0x0203, Bytes().u16(0).u16(1).u16(0).f64(3.14159)) +
        record(0x0204, Bytes().u16(1).u16(0).u16(0).u16(2).raw("hi")) + record(0x000A, {});
    const auto book4 = readWorkbookFile(testing::writeTempFile("biff4.xls", biff4));
    ASSERT_EQ(book4->worksheetCount(), 1u);
    EXPECT_EQ(book4->worksheet(0).name(), "Sheet1");
    EXPECT_EQ(book4->worksheet(0).text(1, 2), "3.142");
    EXPECT_EQ(book4->worksheet(0).text(2, 1), "hi");

    const auto biff2Format = [](const std::string& code) {
        return record(0x001E, Bytes().u8(unsigned(code.size())).raw(code));
    };
    const std::string biff2 =
        record(0x0009, Bytes().u16(2).u16(0x0010)) + biff2Format("General") + biff2Format("0.0") +
        record(0x0003, Bytes().u16(0).u16(0).u8(0).u8(1).u8(0).f64(2.5)) +
        record(0x0002, Bytes().u16(0).u16(1).u8(0).u8(0).u8(0).u16(7)) +
        record(0x0004, Bytes().u16(2).u16(0).u8(0).u8(0).u8(0).u8(3).raw("old")) +
        record(0x000A, {});
    const auto book2 = readWorkbookFile(testing::writeTempFile("biff2.xls", biff2));
    EXPECT_EQ(book2->worksheet(0).text(1, 1), "2.5");
    EXPECT_EQ(book2->worksheet(0).text(1, 2), "7");
    EXPECT_EQ(book2->worksheet(0).text(3, 1), "old");
}

}  // namespace
}  // namespace tabulon::workbook::xls

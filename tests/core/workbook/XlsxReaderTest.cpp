// The xlsx reader on hand-made packages: cell types, strings, used range, sheet kinds, dates.
#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "XlsxPackage.h"
#include "core/numfmt/NumberFormat.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

using testing::HandSheet;
using testing::XlsxPackage;

class XlsxReaderTest : public ::testing::Test {
  protected:
    std::unique_ptr<Workbook> read(const XlsxPackage& package) {
        const std::string path = folder_.file("book" + std::to_string(++count_) + ".xlsx");
        package.write(path);
        return readWorkbookFile(path);
    }
    std::unique_ptr<Workbook> readSheet(const std::string& sheetData,
                                        const std::string& sharedStrings = {},
                                        const std::string& styles = {}) {
        return read(XlsxPackage::workbook({{"S", sheetData}}, sharedStrings, styles));
    }

    testing::ScratchFolder folder_;
    int count_ = 0;
};

// Two cell formats: 0 General, 1 a custom date code.
const std::string kDateStyles =
    "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"yyyy-mm-dd\"/></numFmts>"
    "<cellXfs count=\"2\"><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/></cellXfs>";

TEST_F(XlsxReaderTest, EachCellTypeGivesItsTextAndValue) {
    const auto book = readSheet(
        "<row r=\"1\">"
        "<c r=\"A1\"><v>42.5</v></c>"
        "<c r=\"B1\" t=\"s\"><v>1</v></c>"
        "<c r=\"C1\" t=\"b\"><v>1</v></c>"
        "<c r=\"D1\" t=\"b\"><v>0</v></c>"
        "<c r=\"E1\" t=\"e\"><f>NA()</f><v>#N/A</v></c>"
        "<c r=\"F1\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c>"
        "<c r=\"G1\" t=\"inlineStr\"><is><t>inline</t></is></c>"
        "<c r=\"H1\"><f>1+1</f><v>2</v></c>"
        "<c r=\"I1\" t=\"n\"><v>-1E-3</v></c>"
        "</row>",
        "<si><t>zero</t></si><si><t>one</t></si>");
    const Worksheet& s = book->worksheet(0);
    EXPECT_EQ(s.text(1, 1), numfmt::NumberFormat::compile("General").format(42.5, false));
    EXPECT_EQ(s.value(1, 1).kind, CellValue::Kind::Number);
    EXPECT_EQ(s.value(1, 1).number, 42.5);
    EXPECT_EQ(s.text(1, 2), "one");
    EXPECT_EQ(s.value(1, 2).kind, CellValue::Kind::Text);
    EXPECT_EQ(s.text(1, 3), "TRUE");
    EXPECT_EQ(s.text(1, 4), "FALSE");
    EXPECT_TRUE(s.value(1, 3).boolean);
    EXPECT_EQ(s.value(1, 4).kind, CellValue::Kind::Boolean);
    EXPECT_EQ(s.text(1, 5), "#N/A");
    EXPECT_EQ(s.value(1, 5).kind, CellValue::Kind::Error);
    EXPECT_EQ(s.value(1, 5).text, "#N/A");
    EXPECT_EQ(s.text(1, 6), "ab");
    EXPECT_EQ(s.text(1, 7), "inline");
    EXPECT_EQ(s.value(1, 7).text, "inline");
    EXPECT_EQ(s.value(1, 8).number, 2.0);
    EXPECT_EQ(s.value(1, 9).number, -0.001);
    EXPECT_EQ(s.value(1, 10).kind, CellValue::Kind::Empty);
    EXPECT_EQ(s.text(2, 1), "");
}

TEST_F(XlsxReaderTest, NumbersWithADateFormatAreDatesWhenTheFormatSaysSo) {
    const auto book =
        readSheet("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>44197</v></c></row>", {}, kDateStyles);
    const auto format = numfmt::NumberFormat::compile("yyyy-mm-dd");
    const CellValue v = book->worksheet(0).value(1, 1);
    EXPECT_EQ(v.kind, format.isDateTime() ? CellValue::Kind::Date : CellValue::Kind::Number);
    EXPECT_EQ(v.number, 44197.0);
    EXPECT_EQ(book->worksheet(0).text(1, 1), format.format(44197, false));
}

TEST_F(XlsxReaderTest, RichTextRunsAreJoinedAndPhoneticRunsLeftOut) {
    const auto book = readSheet(
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"inlineStr\"><is>"
        "<r><rPr><b/></rPr><t>bold </t></r><r><t xml:space=\"preserve\">plain</t></r>"
        "<rPh sb=\"0\" eb=\"1\"><t>ruby</t></rPh></is></c>"
        "<c r=\"C1\" t=\"s\"><v>1</v></c></row>",
        "<si><r><rPr><i/></rPr><t>東京</t></r><r><t>都</t></r>"
        "<rPh sb=\"0\" eb=\"2\"><t>トウキョウ</t></rPh><phoneticPr fontId=\"1\"/></si>"
        "<si><t>line_x000D_break _x005F_x0041_</t></si>");
    const Worksheet& s = book->worksheet(0);
    EXPECT_EQ(s.text(1, 1), "東京都");
    EXPECT_EQ(s.text(1, 2), "bold plain");
    EXPECT_EQ(s.text(1, 3), "line\rbreak _x0041_");
}

TEST_F(XlsxReaderTest, UsedRangeIsTheBoundingBoxOfStoredCells) {
    const auto book = read(XlsxPackage::workbook(
        {{"Data",
          "<row r=\"3\"><c r=\"B3\"><v>1</v></c></row><row r=\"5\"><c r=\"D5\"><v>2</v>"
          "</c></row>"},
         {"Empty", ""},
         {"StyleOnly",
          "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row r=\"7\"><c r=\"F7\" s=\"1\"/>"
          "<c r=\"H9\" s=\"0\"/></row>"},
         {"Formula without value", "<row r=\"2\"><c r=\"C2\"><f>A1</f></c></row>"}},
        {}, kDateStyles));
    const CellRange data = book->worksheet(0).usedRange();
    EXPECT_EQ(data.firstRow, 3);
    EXPECT_EQ(data.firstCol, 2);
    EXPECT_EQ(data.lastRow, 5);
    EXPECT_EQ(data.lastCol, 4);

    const CellRange empty = book->worksheet(1).usedRange();
    EXPECT_EQ(empty.firstRow, 1);
    EXPECT_EQ(empty.firstCol, 1);
    EXPECT_EQ(empty.lastRow, 1);
    EXPECT_EQ(empty.lastCol, 1);

    // A formatted cell counts; one in the default format does not.
    const CellRange styled = book->worksheet(2).usedRange();
    EXPECT_EQ(styled.lastRow, 7);
    EXPECT_EQ(styled.lastCol, 6);
    EXPECT_EQ(book->worksheet(2).text(7, 6), "");

    EXPECT_EQ(book->worksheet(3).usedRange().lastRow, 1);
}

TEST_F(XlsxReaderTest, RowsAndCellsWithoutReferencesFollowTheirPredecessors) {
    const auto book = readSheet(
        "<row><c><v>1</v></c><c><v>2</v></c></row>"
        "<row><c r=\"C2\"><v>3</v></c><c><v>4</v></c></row>"
        "<row r=\"5\"><c><v>5</v></c></row><row><c t=\"inlineStr\"><is><t>x</t></is></c></row>");
    const Worksheet& s = book->worksheet(0);
    EXPECT_EQ(s.value(1, 1).number, 1);
    EXPECT_EQ(s.value(1, 2).number, 2);
    EXPECT_EQ(s.value(2, 3).number, 3);
    EXPECT_EQ(s.value(2, 4).number, 4);
    EXPECT_EQ(s.value(5, 1).number, 5);
    EXPECT_EQ(s.text(6, 1), "x");
    EXPECT_EQ(s.usedRange().lastRow, 6);
    EXPECT_EQ(s.usedRange().lastCol, 4);
}

TEST_F(XlsxReaderTest, CellsOutOfOrderAreFoundAndARepeatedCellKeepsItsLastValue) {
    const auto book = readSheet(
        "<row r=\"9\"><c r=\"B9\"><v>9</v></c></row><row r=\"2\"><c r=\"C2\"><v>3</v></c>"
        "<c r=\"A2\"><v>1</v></c><c r=\"C2\"><v>33</v></c></row>");
    const Worksheet& s = book->worksheet(0);
    EXPECT_EQ(s.value(9, 2).number, 9);
    EXPECT_EQ(s.value(2, 1).number, 1);
    EXPECT_EQ(s.value(2, 3).number, 33);
    EXPECT_EQ(s.value(2, 2).kind, CellValue::Kind::Empty);
    EXPECT_EQ(s.usedRange().firstRow, 2);
    EXPECT_EQ(s.usedRange().lastRow, 9);
}

TEST_F(XlsxReaderTest, SharedFormulasKeepTheirCachedValues) {
    const auto book = readSheet(
        "<row r=\"1\"><c r=\"A1\"><f t=\"shared\" ref=\"A1:A3\" si=\"0\">ROW()</f><v>1</v></c>"
        "</row><row r=\"2\"><c r=\"A2\"><f t=\"shared\" si=\"0\"/><v>2</v></c></row>"
        "<row r=\"3\"><c r=\"A3\"><f t=\"shared\" si=\"0\"/><v>3</v></c></row>");
    EXPECT_EQ(book->worksheet(0).value(2, 1).number, 2);
    EXPECT_EQ(book->worksheet(0).value(3, 1).number, 3);
}

TEST_F(XlsxReaderTest, OnlyWorksheetsAreListedAndHiddenOnesAreAmongThem) {
    const std::string chart =
        "<?xml version=\"1.0\"?><chartsheet xmlns=\"http://schemas.openxmlformats.org/"
        "spreadsheetml/2006/main\"><drawing/></chartsheet>";
    const auto book = read(XlsxPackage::workbook({
        {"First", "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"},
        {"Chart1", chart, "chartsheet", "", true},
        {"Hidden", "", "worksheet", "hidden"},
        {"Dialog1", "", "dialogsheet"},
        {"Macro1", "", "macrosheet"},
        {"Last", "", "worksheet", "veryHidden"},
    }));
    ASSERT_EQ(book->worksheetCount(), 3u);
    EXPECT_EQ(book->worksheet(0).name(), "First");
    EXPECT_EQ(book->worksheet(1).name(), "Hidden");
    EXPECT_EQ(book->worksheet(1).visibility(), SheetVisibility::Hidden);
    EXPECT_EQ(book->worksheet(2).name(), "Last");
    EXPECT_EQ(book->worksheet(2).visibility(), SheetVisibility::VeryHidden);
    EXPECT_EQ(book->worksheet(0).visibility(), SheetVisibility::Visible);
}

TEST_F(XlsxReaderTest, TheDateSystemOfTheWorkbookIsUsed) {
    const std::string sheet =
        "<row r=\"1\"><c r=\"A1\" t=\"d\"><v>1904-01-02T12:00:00</v></c>"
        "<c r=\"B1\" s=\"1\"><v>1</v></c></row>";
    const auto book1904 = read(XlsxPackage::workbook({{"S", sheet}}, {}, kDateStyles, true));
    const auto book1900 = read(XlsxPackage::workbook({{"S", sheet}}, {}, kDateStyles, false));
    EXPECT_EQ(book1904->worksheet(0).value(1, 1).number, 1.5);
    EXPECT_EQ(book1900->worksheet(0).value(1, 1).number, 1463.5);
    const auto format = numfmt::NumberFormat::compile("yyyy-mm-dd");
    EXPECT_EQ(book1904->worksheet(0).text(1, 2), format.format(1, true));
    EXPECT_EQ(book1900->worksheet(0).text(1, 2), format.format(1, false));
}

TEST_F(XlsxReaderTest, DateCellsBeforeMarchNineteenHundredFollowTheOldCalendarSlip) {
    const auto book = readSheet(
        "<row r=\"1\"><c r=\"A1\" t=\"d\"><v>1900-01-01</v></c>"
        "<c r=\"B1\" t=\"d\"><v>1900-02-28</v></c><c r=\"C1\" t=\"d\"><v>1900-03-01</v></c>"
        "<c r=\"D1\" t=\"d\"><v>2021-01-01</v></c></row>");
    const Worksheet& s = book->worksheet(0);
    EXPECT_EQ(s.value(1, 1).number, 1);
    EXPECT_EQ(s.value(1, 2).number, 59);
    EXPECT_EQ(s.value(1, 3).number, 61);
    EXPECT_EQ(s.value(1, 4).number, 44197);
}

TEST_F(XlsxReaderTest, StylesMapEachCellFormatToItsNumberFormat) {
    // Format 1 points at a built-in id, 2 at a custom code; a style beyond the list falls back.
    const auto book = readSheet(
        "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>0.5</v></c><c r=\"B1\" s=\"2\"><v>0.5</v></c>"
        "<c r=\"C1\" s=\"77\"><v>0.5</v></c></row>",
        {},
        "<numFmts><numFmt numFmtId=\"170\" formatCode=\"0.000\"/></numFmts>"
        "<cellStyleXfs><xf numFmtId=\"170\"/></cellStyleXfs>"
        "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"10\"/><xf numFmtId=\"170\"/></cellXfs>"
        "<dxfs><dxf><numFmt numFmtId=\"10\" formatCode=\"@\"/></dxf></dxfs>");
    const Worksheet& s = book->worksheet(0);
    EXPECT_EQ(s.text(1, 1),
              numfmt::NumberFormat::compile(numfmt::builtinFormatCode(10)).format(0.5, false));
    EXPECT_EQ(s.text(1, 2), numfmt::NumberFormat::compile("0.000").format(0.5, false));
    EXPECT_EQ(s.text(1, 3), numfmt::NumberFormat::compile("General").format(0.5, false));
}

}  // namespace
}  // namespace tabulon::workbook

// The corners of the sheetData grammar: each case is read through the scanner and through expat
// alone, must come out the same, and is checked for what the cells hold and which path ran.
#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "SheetPathComparison.h"
#include "XlsxPackage.h"
#include "core/workbook/StoredWorkbook.h"

namespace tabulon::workbook {
namespace {

using ::tabulon::testing::HandSheet;
using ::tabulon::testing::XlsxPackage;
using testing::firstDifference;
using testing::readThrough;
using testing::SheetReadOutcome;
using xlsx::SheetPath;

const std::string kStrings = "<si><t>zero</t></si><si><t>one</t></si>";
const std::string kStyles =
    "<cellXfs count=\"3\"><xf numFmtId=\"0\"/><xf numFmtId=\"10\"/>"
    "<xf numFmtId=\"14\"/></cellXfs>";
const std::string kPartStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<dimension ref=\"A1\"/>";

class SheetDataScannerTest : public ::testing::Test {
  protected:
    // Reads the sheet through both paths, expects the same result and returns the scanner's.
    SheetReadOutcome read(const std::string& sheet, bool wholePart = false) {
        const std::string file = folder_.file("book" + std::to_string(++count_) + ".xlsx");
        XlsxPackage::workbook({HandSheet("S", sheet, "worksheet", {}, wholePart)}, kStrings,
                              kStyles)
            .write(file);
        SheetReadOutcome viaScanner = readThrough(file, SheetPath::Scanner);
        EXPECT_EQ(firstDifference(viaScanner, readThrough(file, SheetPath::Expat)), "");
        return viaScanner;
    }
    // Reads the sheet, which the scanner must read itself, and returns the worksheet.
    const StoredWorksheet& scanned(const std::string& sheet, bool wholePart = false) {
        outcome_ = read(sheet, wholePart);
        if (!outcome_.book) {
            ADD_FAILURE() << outcome_.errorText;
            outcome_ = read("", false);
        }
        EXPECT_EQ(outcome_.pathsTaken, std::vector<SheetPath>{SheetPath::Scanner});
        return dynamic_cast<const StoredWorksheet&>(outcome_.book->worksheet(0));
    }
    // Reads the sheet, which the scanner must leave to expat, and returns the outcome.
    SheetReadOutcome fallsBack(const std::string& sheet, bool wholePart = false) {
        SheetReadOutcome outcome = read(sheet, wholePart);
        if (outcome.book) {
            EXPECT_EQ(outcome.pathsTaken, std::vector<SheetPath>{SheetPath::Expat});
        }
        return outcome;
    }

    ::tabulon::testing::ScratchFolder folder_;
    int count_ = 0;
    SheetReadOutcome outcome_;
};

TEST_F(SheetDataScannerTest, AttributesInAnyOrderQuotingAndSpacing) {
    const auto& s = scanned(
        "<row r='1'  spans=\"1:4\" x14ac:dyDescent=\"0.25\">"
        "<c t='s' r='A1'><v>1</v></c>\n  "
        "<c  s = \"1\"\tr\n=\"B1\" ><v> 0.25 </v></c>"
        "<c r=\"C1\" s=\"2\"/>"
        "<c r='D1' t=\"b\" s='0'><v>1</v></c ></row >\r\n");
    EXPECT_EQ(s.value(1, 1).text, "one");
    EXPECT_EQ(s.text(1, 2), "25.00%");
    ASSERT_NE(s.cells().find(1, 3), nullptr);
    EXPECT_EQ(s.cells().find(1, 3)->kind(), StoredKind::StyleOnly);
    EXPECT_EQ(s.cells().find(1, 3)->style, 2);
    EXPECT_TRUE(s.value(1, 4).boolean);
    EXPECT_EQ(s.cells().size(), 4u);
}

TEST_F(SheetDataScannerTest, ReferencesLineEndsAndEscapesInText) {
    const auto& s = scanned(
        "<row r=\"1\">"
        "<c r=\"A1\" t=\"inlineStr\"><is><t>a&amp;b&lt;c&gt;&quot;&apos;&#65;&#x42;&#x1F600;</t>"
        "</is></c>"
        "<c r=\"B1\" t=\"inlineStr\"><is><t>one\r\ntwo\rthree_x000D_four</t></is></c>"
        "<c r=\"C1\" t=\"str\"><v>caf\xC3\xA9 ]] &#13;x _x005F_x000D_</v></c>"
        "</row>");
    EXPECT_EQ(s.value(1, 1).text, "a&b<c>\"'AB\xF0\x9F\x98\x80");
    EXPECT_EQ(s.value(1, 2).text, "one\ntwo\nthree\rfour");
    EXPECT_EQ(s.value(1, 3).text, "caf\xC3\xA9 ]] \rx _x000D_");
}

TEST_F(SheetDataScannerTest, RichAndPhoneticRunsOfInlineStrings) {
    const auto& s = scanned(
        "<row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is>"
        "<r><rPr><b/><sz val=\"11\"/><rFont val=\"Calibri\"/></rPr><t>ab</t></r>"
        "<r><t xml:space=\"preserve\"> c </t></r>"
        "<rPh sb=\"0\" eb=\"1\"><t>\xE3\x81\xB5</t></rPh>"
        "<phoneticPr fontId=\"1\"/></is></c>"
        "<c r=\"C2\" t=\"inlineStr\"><is><t/></is></c></row>");
    EXPECT_EQ(s.value(2, 2).text, "ab c ");
    EXPECT_EQ(s.value(2, 3).kind, CellValue::Kind::Text);
    EXPECT_EQ(s.value(2, 3).text, "");
}

TEST_F(SheetDataScannerTest, CellsAndRowsWithoutReferences) {
    const auto& s = scanned(
        "<c><v>0</v></c>"
        "<row><c><v>1</v></c><c><v>2</v></c></row>"
        "<row><c r=\"C\"><v>3</v></c><c><v>4</v></c></row>"
        "<row r=\"7\"/><row><c><v>5</v></c></row>");
    // The lone cell opens row 1; a row without r follows the one before.
    EXPECT_EQ(s.value(1, 1).number, 0);
    EXPECT_EQ(s.value(2, 2).number, 2);
    EXPECT_EQ(s.value(3, 3).number, 3);
    EXPECT_EQ(s.value(3, 4).number, 4);
    EXPECT_EQ(s.value(8, 1).number, 5);
}

TEST_F(SheetDataScannerTest, EveryCellTypeAndCachedFormulaValues) {
    const auto& s = scanned(
        "<row r=\"1\">"
        "<c r=\"A1\" t=\"n\"><f>1/3</f><v>0.33333333333333331</v></c>"
        "<c r=\"B1\" t=\"s\"><v>0</v></c>"
        "<c r=\"C1\" t=\"str\"><f>\"x\"&amp;\"y\"</f><v>xy</v></c>"
        "<c r=\"D1\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c>"
        "<c r=\"E1\" t=\"b\"><v>0</v></c>"
        "<c r=\"F1\" t=\"d\" s=\"2\"><v>2020-01-02T12:00:00</v></c>"
        "<c r=\"G1\" t=\"inlineStr\"><is><t>in</t></is></c>"
        "<c r=\"H1\"><f t=\"shared\" ref=\"H1:H2\" si=\"0\">A1</f><v>-1.5E-3</v></c>"
        "<c r=\"I1\" t=\"str\"><f>\"\"</f></c>"
        "</row>");
    EXPECT_EQ(s.value(1, 1).number, 1.0 / 3);
    EXPECT_EQ(s.value(1, 2).text, "zero");
    EXPECT_EQ(s.value(1, 3).text, "xy");
    EXPECT_EQ(s.value(1, 4).kind, CellValue::Kind::Error);
    EXPECT_EQ(s.value(1, 4).text, "#DIV/0!");
    EXPECT_EQ(s.value(1, 5).kind, CellValue::Kind::Boolean);
    EXPECT_EQ(s.value(1, 6).number, 43832.5);
    EXPECT_EQ(s.value(1, 7).text, "in");
    EXPECT_EQ(s.value(1, 8).number, -1.5e-3);
    EXPECT_EQ(s.cells().find(1, 9), nullptr);  // a formula without a cached value
}

TEST_F(SheetDataScannerTest, HugeRowsAndTokensAcrossChunks) {
    // A full-width row, and a long string and a large part so that tokens straddle the pieces
    // in which the package part is inflated.
    std::string wide = "<row r=\"1\">";
    for (int col = 1; col <= 16384; ++col) wide += "<c><v>" + std::to_string(col) + "</v></c>";
    wide += "</row><row r=\"2\" note=\"" + std::string(2 << 20, 'n') +
            "\"><c r=\"A2\" t=\"inlineStr\"><is><t>" + std::string(1 << 20, 'x') +
            "</t></is></c></row>";
    for (int row = 3; row < 60000; ++row)
        wide += "<row r=\"" + std::to_string(row) + "\"><c r=\"A" + std::to_string(row) +
                "\" s=\"1\"><v>" + std::to_string(row) + ".5</v></c><c r=\"B" +
                std::to_string(row) + "\" t=\"s\"><v>1</v></c></row>";
    const auto& s = scanned(wide);
    EXPECT_EQ(s.value(1, 16384).number, 16384);
    // Text past the cell text limit is cut there.
    EXPECT_EQ(s.value(2, 1).text, std::string(32767, 'x'));
    EXPECT_EQ(s.value(59999, 1).number, 59999.5);
    EXPECT_EQ(s.value(59999, 2).text, "one");
    EXPECT_EQ(s.cells().size(), 16384u + 1 + 2 * (60000 - 3));
}

TEST_F(SheetDataScannerTest, AHugeTokenIsLeftToExpatAndItsTextCut) {
    // A token longer than the scanner carries from chunk to chunk (a 9 MiB text at the end of
    // the sheet) is read by expat, which keeps only the cell's 32,767 characters.
    const SheetReadOutcome outcome =
        fallsBack("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\" t=\"str\"><v>" +
                  std::string(9 << 20, 'y') + "</v></c></row>");
    ASSERT_TRUE(outcome.book) << outcome.errorText;
    const auto& s = dynamic_cast<const StoredWorksheet&>(outcome.book->worksheet(0));
    EXPECT_EQ(s.value(1, 2).text, std::string(32767, 'y'));
}

TEST_F(SheetDataScannerTest, LongWhiteSpaceBetweenRowsIsNotCarried) {
    // 40 MiB of white space and CR LF line ends between two rows is passed over by the scanner
    // as it arrives (it would otherwise carry it whole, past its carry limit, to expat).
    std::string space;
    for (int i = 0; i < (10 << 20); ++i) space += "\r\n  ";
    const auto& s = scanned("<row r=\"1\"><c><v>1</v></c></row>" + space +
                            "\n\t<row r=\"2\"><c><v>2</v></c></row>");
    EXPECT_EQ(s.value(1, 1).number, 1);
    EXPECT_EQ(s.value(2, 1).number, 2);
}

TEST_F(SheetDataScannerTest, MarkupAroundSheetDataIsReadByExpat) {
    // A second sheetData after the first is read as expat reads it, and so are the package parts
    // before and after.
    const auto& s =
        scanned(kPartStart +
                    "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
                    "<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData>"
                    "<!-- a comment --><mergeCells count=\"1\"><mergeCell ref=\"A1:B1\"/>"
                    "</mergeCells><x:extra xmlns:x=\"urn:x\"><sheetData><row r=\"3\">"
                    "<c r=\"C3\"><v>3</v></c></row></sheetData></x:extra></worksheet>",
                true);
    EXPECT_EQ(s.value(1, 1).number, 1);
    EXPECT_EQ(s.value(3, 3).number, 3);

    // A long stretch before <sheetData>, so that its start tag arrives in a later piece.
    std::string columns = "<cols>";
    while (columns.size() < (1 << 20))
        columns += "<col min=\"1\" max=\"1\" width=\"9.5\" customWidth=\"1\"/>";
    const auto& late = scanned(kPartStart + columns +
                                   "</cols><sheetData><row r=\"4\"><c r=\"D4\"><v>4</v></c></row>"
                                   "</sheetData></worksheet>",
                               true);
    EXPECT_EQ(late.value(4, 4).number, 4);
}

TEST_F(SheetDataScannerTest, MarkupOutsideTheGrammarIsLeftToExpat) {
    const std::string cell = "<c r=\"A1\"><v>1</v></c>";
    for (const std::string& sheetData : std::vector<std::string>{
             "<row r=\"1\"><!-- note -->" + cell + "</row>",
             "<row r=\"1\"><c r=\"A1\"><v><![CDATA[1]]></v></c></row>",
             "<row r=\"1\"><?pi data?>" + cell + "</row>",
             "<row r=\"1\"><c r=\"A&#49;\"><v>1</v></c></row>",
             "<row r=\"1\"><c r=\"A1\" t=\"inline&#83;tr\"><is><t>x</t></is></c></row>",
         }) {
        const SheetReadOutcome outcome = fallsBack(sheetData);
        ASSERT_TRUE(outcome.book) << sheetData << ": " << outcome.errorText;
        EXPECT_EQ(outcome.book->worksheet(0).usedRange().lastRow, 1) << sheetData;
    }
    // Strict OOXML writers put prefixes on every element.
    const SheetReadOutcome strict = fallsBack(
        "<?xml version=\"1.0\"?><x:worksheet xmlns:x=\"http://purl.oclc.org/ooxml/spreadsheetml/"
        "main\"><x:sheetData><x:row r=\"2\"><x:c r=\"B2\"><x:v>5</x:v></x:c></x:row>"
        "</x:sheetData></x:worksheet>",
        true);
    ASSERT_TRUE(strict.book) << strict.errorText;
    EXPECT_EQ(strict.book->worksheet(0).value(2, 2).number, 5);
    // Not UTF-8.
    const SheetReadOutcome latin1 = fallsBack(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><worksheet><sheetData><row r=\"1\">"
        "<c r=\"A1\" t=\"inlineStr\"><is><t>caf\xE9</t></is></c></row></sheetData></worksheet>",
        true);
    ASSERT_TRUE(latin1.book) << latin1.errorText;
    EXPECT_EQ(latin1.book->worksheet(0).value(1, 1).text, "caf\xC3\xA9");
}

TEST_F(SheetDataScannerTest, MalformedAndTruncatedPartsGiveExpatsError) {
    const std::string whole = kPartStart +
                              "<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\" "
                              "t=\"s\"><v>0</v></c></row></sheetData></worksheet>";
    for (std::size_t cut : {whole.size() - 5, whole.find("<c r=\"B1\"") + 4, whole.size() - 30}) {
        const SheetReadOutcome outcome = read(whole.substr(0, cut), true);
        EXPECT_EQ(outcome.errorKind, ReadErrorKind::DamagedXml) << cut;
    }
    for (const std::string& sheetData : {
             std::string("<row r=\"1\"><c r=\"A1\"><v>1</c></v></row>"),
             std::string("<row r=\"1\"><c r=\"A1\" r=\"B1\"><v>1</v></c></row>"),
             std::string("<row r=\"1\"><c r=\"A1\"s=\"1\"><v>1</v></c></row>"),
             std::string("<row r=\"1\"><c r=\"A1\"><v>1 &bogus; 2</v></c></row>"),
             std::string("<row r=\"1\"><c r=\"A1\"><v>1&/v></v></c></row>"),
             std::string("<row r=\"1\"><c r=\"A1\"><v>a ]]> b</v></c></row>"),
             std::string("<row r=\"1\"><c r=\"A1\" t=\"str\"><v>\xC3(</v></c></row>"),
             std::string("<row r=\"1\"><c r=\"A1\" t=\"str\"><v>\x01</v></c></row>"),
             std::string("<row r=\"1\"><c r=\"A1\" t=\"str\"><v>&#0;</v></c></row>"),
             std::string("<row r=\"1\"><c r=\"A1\"><v>1</v></c>"),
         }) {
        const SheetReadOutcome outcome = read(sheetData);
        EXPECT_EQ(outcome.errorKind, ReadErrorKind::DamagedXml) << sheetData;
    }
    EXPECT_EQ(read("<!DOCTYPE worksheet [<!ENTITY e \"1\">]>" + whole, true).errorKind,
              ReadErrorKind::DamagedXml);
}

TEST_F(SheetDataScannerTest, BadCellsGiveTheSameErrorOnBothPaths) {
    EXPECT_EQ(read("<row r=\"1\"><c r=\"A1\"><v>1x</v></c></row>").errorKind,
              ReadErrorKind::BadCellValue);
    EXPECT_EQ(read("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>2</v></c></row>").errorKind,
              ReadErrorKind::BadCellValue);
    EXPECT_EQ(read("<row r=\"1048577\"><c><v>1</v></c></row>").errorKind,
              ReadErrorKind::CellOutOfBounds);
    EXPECT_EQ(read("<row r=\"1\"><c r=\"1A\"><v>1</v></c></row>").errorKind,
              ReadErrorKind::BadCellValue);
}

}  // namespace
}  // namespace tabulon::workbook

// The OpenDocument reader on hand-made packages: value types, repeats, merged cells, paragraphs,
// shown texts, date systems, hidden tables and damaged or protected packages.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <string>

#include "OdsPackage.h"
#include "ScratchFolder.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

using testing::odsPackage;

// Writes the package into the test program's scratch folder and returns its path.
std::string writePackage(const tabulon::testing::XlsxPackage& package) {
    static tabulon::testing::ScratchFolder folder;
    static int serial = 0;
    const std::string path = folder.file("book" + std::to_string(serial++) + ".ods");
    package.write(path);
    return path;
}

std::unique_ptr<Workbook> readPackage(const tabulon::testing::XlsxPackage& package) {
    return readWorkbookFile(writePackage(package));
}

tabulon::testing::XlsxPackage oneTable(const std::string& rows, const std::string& automatic = {},
                                       const std::string& styles = {}) {
    return odsPackage("<table:table table:name=\"S\">" + rows + "</table:table>", automatic,
                      styles);
}

std::unique_ptr<Workbook> readTable(const std::string& rows, const std::string& automatic = {},
                                    const std::string& styles = {}) {
    return readPackage(oneTable(rows, automatic, styles));
}

// The error of opening the package or of reading any of its worksheets.
ReadErrorKind errorOf(const tabulon::testing::XlsxPackage& package) {
    try {
        const auto book = readPackage(package);
        for (std::size_t i = 0; i < book->worksheetCount(); ++i) (void)book->worksheet(i);
    } catch (const ReadError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "the package was read";
    return ReadErrorKind::CannotRead;
}

std::string cell(const std::string& attributes, const std::string& paragraphs = {}) {
    return "<table:table-cell " + attributes + ">" + paragraphs + "</table:table-cell>";
}

std::string row(const std::string& cells, const std::string& attributes = {}) {
    return "<table:table-row " + attributes + ">" + cells + "</table:table-row>";
}

// In a child process: caps the address space at 512 MiB, then reads the rows; true when the
// first cell is "a" and 32,766 spaces.
// Reads the file in a process that may map no more than 512 MiB. The file is written by the
// test itself, before the child starts: a scratch folder made in the child, which ends without
// running destructors, would stay behind.
bool readsWithin512MiB(const std::string& path) {
    const rlimit cap{rlim_t{512} << 20, rlim_t{512} << 20};
    setrlimit(RLIMIT_AS, &cap);
    const auto book = readWorkbookFile(path);
    return book->worksheet(0).text(1, 1) == "a" + std::string(32766, ' ');
}

TEST(OdsContentTest, EveryValueTypeGivesItsValueAndTheShownText) {
    const auto book = readTable(
        row(cell("office:value-type=\"float\" office:value=\"1234.5\"",
                 "<text:p>1,234.50</text:p>") +
            cell("office:value-type=\"percentage\" office:value=\"0.25\"", "<text:p>25%</text:p>") +
            cell("office:value-type=\"currency\" office:currency=\"EUR\" office:value=\"-3\"",
                 "<text:p>-3.00 €</text:p>")) +
        row(cell("office:value-type=\"date\" office:date-value=\"2021-01-01\"",
                 "<text:p>01/01/2021</text:p>") +
            cell("office:value-type=\"date\" office:date-value=\"2021-01-01T12:00:00\"") +
            cell("office:value-type=\"time\" office:time-value=\"PT36H30M00S\"")) +
        row(cell("office:value-type=\"boolean\" office:boolean-value=\"true\"",
                 "<text:p>TRUE</text:p>") +
            cell("office:value-type=\"string\" office:string-value=\"ab\"",
                 "<text:p>shown</text:p>") +
            cell("office:value-type=\"string\" calcext:value-type=\"error\"",
                 "<text:p>#DIV/0!</text:p>") +
            cell("", "<text:p>no type</text:p>") +
            cell("office:value-type=\"float\" office:value=\"oops\"", "<text:p>oops</text:p>")));
    const Worksheet& sheet = book->worksheet(0);

    EXPECT_EQ(sheet.value(1, 1).kind, CellValue::Kind::Number);
    EXPECT_EQ(sheet.value(1, 1).number, 1234.5);
    EXPECT_EQ(sheet.text(1, 1), "1,234.50");
    EXPECT_EQ(sheet.value(1, 2).number, 0.25);
    EXPECT_EQ(sheet.text(1, 2), "25%");
    EXPECT_EQ(sheet.value(1, 3).number, -3);
    EXPECT_EQ(sheet.text(1, 3), "-3.00 €");

    EXPECT_EQ(sheet.value(2, 1).kind, CellValue::Kind::Date);
    EXPECT_EQ(sheet.value(2, 1).number, 44197);
    EXPECT_EQ(sheet.text(2, 1), "01/01/2021");
    // Without a paragraph and without a date style, dates and times still show as such.
    EXPECT_EQ(sheet.value(2, 2).number, 44197.5);
    EXPECT_EQ(sheet.text(2, 2), "1/1/2021 12:00:00");
    EXPECT_EQ(sheet.value(2, 3).kind, CellValue::Kind::Date);
    EXPECT_DOUBLE_EQ(sheet.value(2, 3).number, 1.5208333333333333);
    EXPECT_EQ(sheet.text(2, 3), "36:30:00");

    EXPECT_EQ(sheet.value(3, 1).kind, CellValue::Kind::Boolean);
    EXPECT_TRUE(sheet.value(3, 1).boolean);
    EXPECT_EQ(sheet.text(3, 1), "TRUE");
    EXPECT_EQ(sheet.value(3, 2).text, "ab");
    EXPECT_EQ(sheet.value(3, 3).kind, CellValue::Kind::Error);
    EXPECT_EQ(sheet.text(3, 3), "#DIV/0!");
    EXPECT_EQ(sheet.value(3, 4).text, "no type");
    EXPECT_EQ(sheet.value(3, 5).kind, CellValue::Kind::Text);
    EXPECT_EQ(sheet.text(3, 5), "oops");
}

TEST(OdsContentTest, RepeatsStoreTheirCellsAndHugeEmptyRepeatsStoreNothing) {
    const auto book = readTable(
        "<table:table-column table:number-columns-repeated=\"16384\"/>" +
        row(cell("table:number-columns-repeated=\"2\"") +
            cell("table:number-columns-repeated=\"3\" "
                 "office:value-type=\"float\" office:value=\"7\"",
                 "<text:p>7</text:p>") +
            cell("table:number-columns-repeated=\"16379\"")) +
        row(cell("office:value-type=\"string\"", "<text:p>x</text:p>") +
                cell("office:value-type=\"float\" office:value=\"0.5\"", "<text:p>half</text:p>") +
                cell("table:number-columns-repeated=\"16382\""),
            "table:number-rows-repeated=\"2\"") +
        row(cell("table:number-columns-repeated=\"16384\""),
            "table:number-rows-repeated=\"1048572\"") +
        row(cell("table:number-columns-repeated=\"16384\"")) +
        // Beyond the sheet's last row: empty rows that are passed over.
        row(cell("table:number-columns-repeated=\"16384\""),
            "table:number-rows-repeated=\"99999999999\""));
    const Worksheet& sheet = book->worksheet(0);
    const CellRange used = sheet.usedRange();
    EXPECT_EQ(used.firstRow, 1);
    EXPECT_EQ(used.firstCol, 1);
    EXPECT_EQ(used.lastRow, 3);
    EXPECT_EQ(used.lastCol, 5);
    EXPECT_EQ(sheet.text(1, 2), "");
    for (int col = 3; col <= 5; ++col) EXPECT_EQ(sheet.text(1, col), "7") << col;
    EXPECT_EQ(sheet.text(1, 6), "");
    EXPECT_EQ(sheet.text(2, 1), "x");
    EXPECT_EQ(sheet.text(3, 1), "x");
    // The copies of a repeated row show the text its first one shows.
    EXPECT_EQ(sheet.text(2, 2), "half");
    EXPECT_EQ(sheet.text(3, 2), "half");
    EXPECT_EQ(sheet.text(4, 1), "");
}

// Malformed tables: a row inside a row goes on in the outer row, a cell outside every row is
// left out, and every number keeps the text it shows.
TEST(OdsContentTest, RowsInsideRowsAndCellsOutsideRowsLeaveTheOtherCellsInPlace) {
    const auto number = [](const std::string& value, const std::string& shown) {
        return cell("office:value-type=\"float\" office:value=\"" + value + "\"",
                    "<text:p>" + shown + "</text:p>");
    };
    const auto book =
        readTable(row(number("1", "one") + number("11", "eleven") + row(number("2", "two")) +
                      number("3", "three")) +
                  number("9", "nine") + row(number("4", "four") + number("5", "five")));
    const Worksheet& sheet = book->worksheet(0);
    const char* const expected[2][4] = {{"one", "eleven", "two", "three"},
                                        {"four", "five", "", ""}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(sheet.text(r + 1, c + 1), expected[r][c]) << r + 1 << "," << c + 1;
    EXPECT_EQ(sheet.usedRange().lastRow, 2);
    EXPECT_EQ(sheet.usedRange().lastCol, 4);
}

TEST(OdsContentTest, RepeatedValuesBeyondTheLimitsAreRefused) {
    const std::string wholeSheet =
        row(cell("table:number-columns-repeated=\"16384\" office:value-type=\"float\" "
                 "office:value=\"1\""),
            "table:number-rows-repeated=\"1048576\"");
    EXPECT_EQ(errorOf(odsPackage("<table:table table:name=\"S\">" + wholeSheet + "</table:table>")),
              ReadErrorKind::TooLarge);
    const std::string belowTheLastRow =
        row(cell("table:number-columns-repeated=\"3\""), "table:number-rows-repeated=\"1048576\"") +
        row(cell("office:value-type=\"float\" office:value=\"1\""));
    EXPECT_EQ(
        errorOf(odsPackage("<table:table table:name=\"S\">" + belowTheLastRow + "</table:table>")),
        ReadErrorKind::CellOutOfBounds);
}

TEST(OdsContentTest, MergedCellsKeepOnlyTheirFirstCell) {
    const auto book = readTable(
        row(cell("office:value-type=\"string\" table:number-columns-spanned=\"2\" "
                 "table:number-rows-spanned=\"2\"",
                 "<text:p>A</text:p>") +
            "<table:covered-table-cell/>" +
            cell("office:value-type=\"string\"", "<text:p>C</text:p>")) +
        row("<table:covered-table-cell table:number-columns-repeated=\"2\" "
            "office:value-type=\"string\"><text:p>hidden</text:p></table:covered-table-cell>" +
            cell("office:value-type=\"string\"", "<text:p>C2</text:p>")));
    const Worksheet& sheet = book->worksheet(0);
    EXPECT_EQ(sheet.text(1, 1), "A");
    EXPECT_EQ(sheet.text(1, 2), "");
    EXPECT_EQ(sheet.text(1, 3), "C");
    EXPECT_EQ(sheet.text(2, 1), "");
    EXPECT_EQ(sheet.text(2, 2), "");
    EXPECT_EQ(sheet.text(2, 3), "C2");
}

TEST(OdsContentTest, ParagraphsSpacesTabsBreaksAndNestedTextMakeTheCellText) {
    const auto book = readTable(row(
        cell("office:value-type=\"string\"",
             "<office:annotation><text:p>a comment</text:p></office:annotation>"
             "<text:p>Split</text:p><text:p>Line</text:p>") +
        cell("office:value-type=\"string\"",
             "<text:p>  a <text:s text:c=\"2\"/>b<text:s/>\n  "
             "c<text:tab/>d<text:line-break/>e</text:p>") +
        cell("office:value-type=\"string\"",
             "<text:p><text:span>bold</text:span> and <text:a>link<text:s/></text:a>!</text:p>") +
        cell("", "<draw:frame><draw:image><text:p>picture</text:p></draw:image></draw:frame>") +
        cell("office:value-type=\"string\"", "<text:p>x<text:s text:c=\"999999999\"/></text:p>")));
    const Worksheet& sheet = book->worksheet(0);
    EXPECT_EQ(sheet.text(1, 1), "Split\nLine");
    EXPECT_EQ(sheet.text(1, 2), "a   b  c\td\ne");
    EXPECT_EQ(sheet.text(1, 3), "bold and link !");
    EXPECT_EQ(sheet.text(1, 4), "");
    EXPECT_EQ(sheet.text(1, 5), "x" + std::string(32766, ' '));  // cut at the cell limit
}

TEST(OdsContentTest, SpaceRunsStopAtTheCellLimitAsTheyGrowUnderAMemoryCap) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space cap does not work under AddressSanitizer";
#endif
    // 20,000 runs of 32,767 spaces would make 655 MB of one cell's text; read in a child that
    // may map no more than 512 MiB, the text must stop at its 32,767 characters.
    std::string paragraph = "<text:p>a";
    for (int i = 0; i < 20000; ++i) paragraph += "<text:s text:c=\"32767\"/>";
    paragraph += "</text:p>";
    const std::string path =
        writePackage(oneTable(row(cell("office:value-type=\"string\"", paragraph))));
    EXPECT_EXIT(std::_Exit(readsWithin512MiB(path) ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST(OdsContentTest, NumbersWithoutParagraphsShowThroughTheirStyles) {
    const std::string automatic =
        "<number:number-style style:name=\"N2\"><number:number number:decimal-places=\"2\" "
        "number:min-integer-digits=\"1\" number:grouping=\"true\"/></number:number-style>"
        "<style:style style:name=\"ce1\" style:family=\"table-cell\" "
        "style:data-style-name=\"N2\"/>"
        "<style:style style:name=\"ce2\" style:family=\"table-cell\" "
        "style:parent-style-name=\"Named\"/>";
    const std::string named =
        "<number:percentage-style style:name=\"P1\"><number:number number:decimal-places=\"1\" "
        "number:min-integer-digits=\"1\"/><number:text>%</number:text></number:percentage-style>"
        "<style:style style:name=\"Named\" style:family=\"table-cell\" "
        "style:data-style-name=\"P1\"/>";
    const auto book = readTable(
        "<table:table-column table:default-cell-style-name=\"ce1\"/>"
        "<table:table-column table:number-columns-repeated=\"2\"/>" +
            row(cell("office:value-type=\"float\" office:value=\"1234.5\"") +
                cell(
                    "office:value-type=\"float\" office:value=\"0.125\" table:style-name=\"ce2\"") +
                cell("office:value-type=\"float\" office:value=\"0.125\"")),
        automatic, named);
    const Worksheet& sheet = book->worksheet(0);
    EXPECT_EQ(sheet.text(1, 1), "1,234.50");
    EXPECT_EQ(sheet.text(1, 2), "12.5%");
    EXPECT_EQ(sheet.text(1, 3), "0.125");
}

TEST(OdsContentTest, NullDateOf1904SwitchesTheDateSystem) {
    const std::string table =
        "<table:table table:name=\"S\">" +
        row(cell("office:value-type=\"date\" office:date-value=\"1904-01-02\"")) + "</table:table>";
    const auto book1904 = readPackage(
        odsPackage("<table:calculation-settings><table:null-date table:date-value=\"1904-01-01\"/>"
                   "</table:calculation-settings>" +
                   table));
    EXPECT_TRUE(book1904->date1904());
    EXPECT_EQ(book1904->worksheet(0).value(1, 1).number, 1);
    EXPECT_EQ(book1904->worksheet(0).text(1, 1), "1/2/1904");

    const auto book1900 = readPackage(odsPackage(table));
    EXPECT_FALSE(book1900->date1904());
    EXPECT_EQ(book1900->worksheet(0).value(1, 1).number, 1463);
    EXPECT_EQ(book1900->worksheet(0).text(1, 1), "1/2/1904");
}

TEST(OdsContentTest, TablesBecomeWorksheetsInOrderHiddenOnesToo) {
    const auto book = readPackage(
        odsPackage("<table:table table:name=\"First\"/>"
                   "<table:table table:name=\"Hidden\" table:style-name=\"ta2\">" +
                       row(cell("office:value-type=\"string\"", "<text:p>h</text:p>")) +
                       "</table:table><table:table table:name=\"Last\"/>",
                   "<style:style style:name=\"ta2\" style:family=\"table\"><style:table-properties "
                   "table:display=\"false\"/></style:style>"));
    ASSERT_EQ(book->worksheetCount(), 3u);
    EXPECT_EQ(book->worksheet(0).name(), "First");
    EXPECT_EQ(book->worksheet(0).visibility(), SheetVisibility::Visible);
    EXPECT_EQ(book->worksheet(1).name(), "Hidden");
    EXPECT_EQ(book->worksheet(1).visibility(), SheetVisibility::Hidden);
    EXPECT_EQ(book->worksheet(1).text(1, 1), "h");
    EXPECT_EQ(book->worksheet(2).name(), "Last");
    const CellRange empty = book->worksheet(2).usedRange();
    EXPECT_EQ(empty.lastRow, 1);
    EXPECT_EQ(empty.lastCol, 1);
}

TEST(OdsContentTest, ProtectedDamagedAndForeignPackagesSayWhatIsWrong) {
    auto encrypted = odsPackage("<table:table table:name=\"S\"/>");
    encrypted.setPart("META-INF/manifest.xml",
                      "<?xml version=\"1.0\"?><manifest:manifest xmlns:manifest=\"urn:oasis:names:"
                      "tc:opendocument:xmlns:manifest:1.0\"><manifest:file-entry "
                      "manifest:full-path=\"content.xml\"><manifest:encryption-data/>"
                      "</manifest:file-entry></manifest:manifest>");
    // Encryption data without its parameters cannot be followed; complete encrypted packages
    // are read in the encryption tests.
    EXPECT_EQ(errorOf(encrypted), ReadErrorKind::DamagedContainer);

    auto text = odsPackage("<table:table table:name=\"S\"/>");
    text.setPart("mimetype", "application/vnd.oasis.opendocument.text");
    EXPECT_EQ(errorOf(text), ReadErrorKind::NotAWorkbook);

    auto noContent = odsPackage("");
    noContent.removePart("content.xml");
    EXPECT_EQ(errorOf(noContent), ReadErrorKind::MissingPart);

    EXPECT_EQ(errorOf(odsPackage("<table:table table:name=\"S\"><table:table-row>")),
              ReadErrorKind::DamagedXml);
    // A stray quote before the root element, which expat takes for the start of a literal and
    // waits on, so that it has not seen the table when the table's place is found.
    EXPECT_EQ(errorOf(odsPackage("<table:table table:name=\"S\"/>", {}, {},
                                 "<?xml version=\"1.0\"?>\n'")),
              ReadErrorKind::DamagedXml);
}

TEST(OdsContentTest, ADamagedTableFailsAloneAndTheOthersAreRead) {
    const std::string a = "<table:table table:name=\"A\">" +
                          row(cell("office:value-type=\"string\"", "<text:p>a</text:p>")) +
                          "</table:table>";
    const std::string c =
        "<table:table table:name=\"C\">" +
        row(cell("office:value-type=\"float\" office:value=\"3\"", "<text:p>3.0</text:p>")) +
        "</table:table>";
    const struct {
        const char* name;
        std::string damagedTable;
        ReadErrorKind kind;
        const char* detail;
    } cases[] = {
        // Malformed markup, which expat judges, on line 2 of content.xml.
        {"bad XML",
         "<table:table table:name=\"B\">\n<table:table-row><table:table-cell></table:table-row>"
         "</table:table>",
         ReadErrorKind::DamagedXml, "mismatched tag at line 2"},
        // Sound markup with a cell past the last column.
        {"cell out of bounds",
         "<table:table table:name=\"B\">" +
             row(cell("table:number-columns-repeated=\"16384\"") +
                 cell("office:value-type=\"float\" office:value=\"1\"")) +
             "</table:table>",
         ReadErrorKind::CellOutOfBounds, "a cell after column XFD in row 1"},
    };
    for (const auto& damage : cases) {
        SCOPED_TRACE(damage.name);
        const auto book = readPackage(odsPackage(a + damage.damagedTable + c));
        ASSERT_EQ(book->worksheetCount(), 3u);
        // Out of order too: the last table first, then the first one again.
        EXPECT_EQ(book->worksheet(2).text(1, 1), "3.0");
        EXPECT_EQ(book->worksheet(0).text(1, 1), "a");
        try {
            (void)book->worksheet(1);
            ADD_FAILURE() << "the damaged table was read";
        } catch (const ReadError& e) {
            EXPECT_EQ(e.kind(), damage.kind);
            EXPECT_EQ(e.place().sheet, "B");
            EXPECT_EQ(e.detail(), damage.detail);
        }
    }
}

}  // namespace
}  // namespace tabulon::workbook

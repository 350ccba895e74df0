// Reader selection and read errors: every broken or foreign file gives a clear ReadError.
#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <filesystem>
#include <fstream>

#include "ReadWholeWorkbook.h"
#include "ScratchFolder.h"
#include "XlsxPackage.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

using testing::HandSheet;
using testing::XlsxPackage;

class WorkbookFileTest : public ::testing::Test {
  protected:
    std::string writeBytes(const std::string& name, const std::string& bytes) {
        const std::string path = folder_.file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string writePackage(const std::string& name, const XlsxPackage& package) {
        const std::string path = folder_.file(name);
        package.write(path);
        return path;
    }
    // The error that reading the file gives; fails the test when there is none.
    static ReadError errorOf(const std::string& path) {
        try {
            testing::readWholeWorkbook(path);
        } catch (const ReadError& e) {
            return e;
        }
        ADD_FAILURE() << "no error for " << path;
        return ReadError(ReadErrorKind::CannotRead, placeInFile(path), "none");
    }
    static XlsxPackage oneSheet(const std::string& sheetData,
                                const std::string& sharedStrings = {}) {
        return XlsxPackage::workbook({HandSheet("Data", sheetData)}, sharedStrings);
    }

    testing::ScratchFolder folder_;
};

TEST_F(WorkbookFileTest, LeadingBytesPickTheContainer) {
    const unsigned char zip[] = {'P', 'K', 3, 4, 0, 0, 0, 0};
    const unsigned char cfb[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    const unsigned char biff4[] = {0x09, 0x04, 0x06, 0x00, 0x00, 0x00, 0x10, 0x00};
    const unsigned char text[] = {'a', ',', 'b', '\n', 'c', ',', 'd', '\n'};
    EXPECT_EQ(fileKindOf(zip, 8), FileKind::Zip);
    EXPECT_EQ(fileKindOf(cfb, 8), FileKind::CompoundFile);
    EXPECT_EQ(fileKindOf(biff4, 8), FileKind::LegacyBiff);
    EXPECT_EQ(fileKindOf(text, 8), FileKind::Unknown);
    EXPECT_EQ(fileKindOf(zip, 3), FileKind::Unknown);
}

TEST_F(WorkbookFileTest, AnXlsxNamedOtherwiseIsStillRead) {
    const std::string path =
        writePackage("book.dat", oneSheet("<row r=\"1\"><c r=\"A1\"><v>7</v></c></row>"));
    EXPECT_EQ(readWorkbookFile(path)->worksheet(0).value(1, 1).number, 7);
}

TEST_F(WorkbookFileTest, MissingFilesFoldersAndForeignFilesAreNamedAsSuch) {
    const std::string missing = folder_.file("nowhere.xlsx");
    EXPECT_EQ(errorOf(missing).kind(), ReadErrorKind::FileNotFound);
    EXPECT_STREQ(errorOf(missing).what(), ("The workbook file was not found: " + missing).c_str());

    EXPECT_EQ(errorOf(folder_.path().string()).kind(), ReadErrorKind::NotAWorkbook);
    const std::string csv = writeBytes("data.xlsx", "a,b\r\n1,2\r\n");
    EXPECT_STREQ(errorOf(csv).what(), ("The file is not a workbook: " + csv).c_str());
    EXPECT_EQ(errorOf(writeBytes("empty.xlsx", "")).kind(), ReadErrorKind::NotAWorkbook);
}

TEST_F(WorkbookFileTest, OtherFormatsAreRefusedByName) {
    // OpenDocument spreadsheets go to their own reader; other OpenDocument files are refused.
    XlsxPackage odt;
    odt.setPart("mimetype", "application/vnd.oasis.opendocument.text");
    odt.setPart("content.xml", "<office:document-content/>");
    EXPECT_EQ(errorOf(writePackage("text.xlsx", odt)).kind(), ReadErrorKind::NotAWorkbook);

    XlsxPackage xlsb = oneSheet("");
    xlsb.setPart("_rels/.rels",
                 "<Relationships><Relationship Id=\"r\" Type=\"http://schemas.openxmlformats.org/"
                 "officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.bin\"/>"
                 "</Relationships>");
    // A binary workbook goes to its own reader, which finds its workbook part missing here.
    EXPECT_EQ(errorOf(writePackage("b.xlsb", xlsb)).kind(), ReadErrorKind::MissingPart);

    const std::string biff =
        writeBytes("old.xls", std::string("\x09\x04\x06\x00\x00\x00\x10\x00", 8));
    EXPECT_EQ(errorOf(biff).kind(), ReadErrorKind::DamagedRecords);
}

TEST_F(WorkbookFileTest, DamagedContainersAndPartsAreReportedNotSkipped) {
    const std::string good =
        writePackage("good.xlsx", oneSheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"));
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const ReadError truncated = errorOf(writeBytes("cut.xlsx", bytes.substr(0, bytes.size() / 2)));
    EXPECT_EQ(truncated.kind(), ReadErrorKind::DamagedContainer) << truncated.what();

    const ReadError badXml = errorOf(writePackage("xml.xlsx", oneSheet("<row><c><v>1</v></row>")));
    EXPECT_EQ(badXml.kind(), ReadErrorKind::DamagedXml);
    EXPECT_EQ(badXml.place().sheet, "Data");
    EXPECT_EQ(badXml.place().part, "xl/worksheets/sheet1.xml");
    EXPECT_NE(std::string(badXml.what()).find("line 1"), std::string::npos) << badXml.what();

    XlsxPackage noSheetPart = oneSheet("");
    noSheetPart.removePart("xl/worksheets/sheet1.xml");
    EXPECT_EQ(errorOf(writePackage("nosheet.xlsx", noSheetPart)).kind(),
              ReadErrorKind::MissingPart);

    XlsxPackage noWorkbook;
    noWorkbook.setPart("docProps/app.xml", "<Properties/>");
    EXPECT_EQ(errorOf(writePackage("nowb.xlsx", noWorkbook)).kind(), ReadErrorKind::NotAWorkbook);
}

TEST_F(WorkbookFileTest, BadCellsNameTheirPlace) {
    const ReadError row = errorOf(writePackage("row.xlsx", oneSheet("<row r=\"1048577\"/>")));
    EXPECT_EQ(row.kind(), ReadErrorKind::CellOutOfBounds);
    EXPECT_NE(std::string(row.what()).find("row 1048577"), std::string::npos);

    EXPECT_EQ(errorOf(writePackage("col.xlsx", oneSheet("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c>"
                                                        "</row>")))
                  .kind(),
              ReadErrorKind::BadCellValue);

    const ReadError sst = errorOf(writePackage(
        "sst.xlsx",
        oneSheet("<row r=\"2\"><c r=\"C2\" t=\"s\"><v>5</v></c></row>", "<si><t>a</t></si>")));
    EXPECT_EQ(sst.kind(), ReadErrorKind::BadCellValue);
    EXPECT_EQ(sst.place().cell, "C2");
    EXPECT_EQ(sst.place().sheet, "Data");

    const ReadError number = errorOf(
        writePackage("num.xlsx", oneSheet("<row r=\"1\"><c r=\"B1\"><v>abc</v></c></row>")));
    EXPECT_EQ(number.kind(), ReadErrorKind::BadCellValue);
    EXPECT_NE(std::string(number.what()).find(", sheet Data, cell B1"), std::string::npos);
}

TEST_F(WorkbookFileTest, EntityDeclarationsAreRefused) {
    XlsxPackage bomb = oneSheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>");
    bomb.setPart("xl/sharedStrings.xml",
                 "<?xml version=\"1.0\"?><!DOCTYPE sst [<!ENTITY a \"aaaaaaaa\">"
                 "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><sst><si><t>&b;&b;</t></si></sst>");
    bomb.setPart("xl/_rels/workbook.xml.rels",
                 "<Relationships><Relationship Id=\"rIdS1\" Type=\"x/worksheet\" "
                 "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"s\" "
                 "Type=\"x/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>");
    const ReadError error = errorOf(writePackage("bomb.xlsx", bomb));
    EXPECT_EQ(error.kind(), ReadErrorKind::DamagedXml);
    EXPECT_EQ(error.place().part, "xl/sharedStrings.xml");
}

// libxlsxwriter's own output, as a second writer beside the hand-made packages.
TEST_F(WorkbookFileTest, AWorkbookWrittenByLibxlsxwriterReadsBack) {
    const std::string path = folder_.file("lxw.xlsx");
    lxw_workbook* workbook = workbook_new(path.c_str());
    lxw_worksheet* first = workbook_add_worksheet(workbook, "Numbers");
    lxw_worksheet* second = workbook_add_worksheet(workbook, "Texts");
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    worksheet_write_number(first, 2, 1, 1.25, nullptr);      // B3
    worksheet_write_string(first, 3, 2, "middle", nullptr);  // C4
    worksheet_write_boolean(first, 4, 3, 1, nullptr);        // D5
    worksheet_write_formula_num(first, 0, 5, "=1+2", nullptr, 3);
    worksheet_write_blank(second, 9, 6, bold);  // G10, formatting only
    worksheet_write_string(second, 0, 0, "x\"y, z", nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    const auto book = readWorkbookFile(path);
    ASSERT_EQ(book->worksheetCount(), 2u);
    const Worksheet& numbers = book->worksheet(0);
    EXPECT_EQ(numbers.value(3, 2).number, 1.25);
    EXPECT_EQ(numbers.text(4, 3), "middle");
    EXPECT_EQ(numbers.text(5, 4), "TRUE");
    EXPECT_EQ(numbers.value(1, 6).number, 3);
    const CellRange used = numbers.usedRange();
    EXPECT_EQ(used.firstRow, 1);
    EXPECT_EQ(used.lastRow, 5);
    EXPECT_EQ(used.lastCol, 6);
    EXPECT_EQ(book->worksheet(1).text(1, 1), "x\"y, z");
    EXPECT_EQ(book->worksheet(1).usedRange().lastRow, 10);
    EXPECT_EQ(book->worksheet(1).usedRange().lastCol, 7);
}

}  // namespace
}  // namespace tabulon::workbook

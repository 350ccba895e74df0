// Mutated worksheet parts: a few hundred deterministic damages to a part that uses the whole
// sheetData grammar. Nothing may crash, and the scanner must agree with expat on every one.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "ScratchFolder.h"
#include "SheetPathComparison.h"
#include "XlsxPackage.h"

namespace tabulon::workbook {
namespace {

using ::tabulon::testing::HandSheet;
using ::tabulon::testing::XlsxPackage;
using testing::firstDifference;
using testing::readThrough;
using xlsx::SheetPath;

const std::string kSheet =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:x14ac=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac\">"
    "<dimension ref=\"A1:F3\"/><sheetData>"
    "<row r=\"1\" spans=\"1:6\" x14ac:dyDescent=\"0.25\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
    "<c r=\"B1\" s=\"1\"><v>12.5</v></c><c r='C1' t='b'><v>1</v></c>"
    "<c r=\"D1\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c><c r=\"E1\" s=\"1\"/>"
    "<c r=\"F1\" t=\"d\"><v>2021-03-04</v></c></row>\n"
    "<row><c t=\"inlineStr\"><is><r><rPr><b/></rPr><t>r&amp;ich_x000D_</t></r><rPh sb=\"0\" "
    "eb=\"1\"><t>ph</t></rPh></is></c><c t=\"str\"><f>\"a\"</f><v>caf\xC3\xA9 &#x41;</v></c>"
    "</row>"
    "<row r=\"3\"><c r=\"B3\"><v>-1E+3</v></c><c><v>7</v></c></row>"
    "</sheetData><pageMargins left=\"0.7\" right=\"0.7\"/></worksheet>";

// Well-formed markup that a mutation may insert after a tag.
const char* const kSnippets[] = {" ",
                                 "\r\n",
                                 "<!-- c -->",
                                 "<?pi x?>",
                                 "<x/>",
                                 "<extLst><ext uri=\"u\"/></extLst>",
                                 "<![CDATA[9]]>",
                                 "<v>8</v>",
                                 "<t>w</t>",
                                 "<rPh><t>p</t></rPh>"};

TEST(ScanMutationTest, MutatedPartsReadAlikeOnBothPaths) {
    ::tabulon::testing::ScratchFolder folder;
    std::mt19937 random(20240611);
    int read = 0;
    int scanned = 0;
    for (int i = 0; i < 400; ++i) {
        std::string part = testing::mutated(kSheet, random, kSnippets);
        if (i % 4 == 3) part = testing::mutated(part, random, kSnippets);
        const std::string file = folder.file("m" + std::to_string(i) + ".xlsx");
        XlsxPackage::workbook({HandSheet("S", part, "worksheet", {}, true)}, "<si><t>s</t></si>",
                              "<cellXfs count=\"2\"><xf numFmtId=\"0\"/><xf numFmtId=\"2\"/>"
                              "</cellXfs>")
            .write(file);
        const auto viaScanner = readThrough(file, SheetPath::Scanner);
        EXPECT_EQ(firstDifference(viaScanner, readThrough(file, SheetPath::Expat)), "")
            << "mutation " << i << ":\n"
            << part;
        read += viaScanner.book ? 1 : 0;
        scanned += !viaScanner.pathsTaken.empty() && viaScanner.pathsTaken[0] == SheetPath::Scanner;
    }
    std::printf("400 mutations: %d read (%d by the scanner), %d refused\n", read, scanned,
                400 - read);
    // The mutations must exercise both outcomes and both paths.
    EXPECT_GT(scanned, 40);
    EXPECT_GT(400 - read, 40);
}

}  // namespace
}  // namespace tabulon::workbook

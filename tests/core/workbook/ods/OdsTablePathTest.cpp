// The ods table scanner against expat alone: every ods file of the shared corpus, and a few
// hundred mutations of tables that use the whole grammar, read alike (cells, shown texts, errors).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "OdsPackage.h"
#include "ScratchFolder.h"
#include "SharedData.h"
#include "SheetPathComparison.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;
using ods::TablePath;
using testing::firstDifference;
using testing::readThrough;

int scannedTables(const testing::SheetReadOutcome& outcome) {
    return static_cast<int>(
        std::count(outcome.tablePaths.begin(), outcome.tablePaths.end(), TablePath::Scanner));
}

TEST(OdsTablePathTest, EveryCorpusFileReadsAlikeOnAllPaths) {
    const fs::path corpus = ::tabulon::testing::kCorpus / "files";
    TABULON_REQUIRE_SHARED(corpus);
    int scanned = 0;
    int tables = 0;
    std::size_t joined = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        if (entry.path().extension() != ".ods") continue;
        const auto viaScanner = readThrough(entry.path().string(), TablePath::Scanner);
        EXPECT_EQ(firstDifference(viaScanner, readThrough(entry.path().string(), TablePath::Expat)),
                  "")
            << entry.path().filename();
        // Every table that allows it read in two halves at once, too.
        const auto halved = readThrough(entry.path().string(), TablePath::Scanner, 0);
        EXPECT_EQ(firstDifference(viaScanner, halved), "") << entry.path().filename();
        joined += halved.halvesJoined;
        scanned += scannedTables(viaScanner);
        tables += static_cast<int>(viaScanner.tablePaths.size());
    }
    // The scanner carries the ordinary files, and the halves join in some of them.
    EXPECT_GT(scanned, 9 * tables / 10);
    EXPECT_GT(joined, 0u);
}

const std::string kAutomaticStyles =
    "<number:number-style style:name=\"N2\"><number:number number:decimal-places=\"2\" "
    "number:min-integer-digits=\"1\"/></number:number-style>"
    "<style:style style:name=\"ce1\" style:family=\"table-cell\" style:data-style-name=\"N2\"/>";

const std::string kTables =
    "<table:table table:name=\"S\"><office:forms/>"
    "<table:table-column table:number-columns-repeated=\"2\" "
    "table:default-cell-style-name=\"ce1\"/><table:table-column/>"
    "<table:table-header-rows><table:table-row table:number-rows-repeated=\"2\">"
    "<table:table-cell office:value-type=\"float\" office:value=\"1234.5\" "
    "calcext:value-type=\"float\"><text:p>1,234.50</text:p></table:table-cell>"
    "<table:table-cell table:number-columns-repeated=\"2\"/>"
    "<table:table-cell office:value-type=\"string\" table:number-columns-spanned=\"2\">"
    "<text:p>a &amp; b<text:s text:c=\"2\"/>c<text:span>d</text:span></text:p><text:p>e</text:p>"
    "</table:table-cell><table:covered-table-cell/></table:table-row></table:table-header-rows>\n"
    "<table:table-row><table:table-cell office:value-type=\"date\" "
    "office:date-value=\"2021-01-01T12:00:00\"><text:p>x</text:p></table:table-cell>"
    "<table:table-cell office:value-type='time' office:time-value='PT36H'/>"
    "<table:table-cell office:value-type=\"boolean\" office:boolean-value=\"true\">"
    "<text:p>TRUE</text:p></table:table-cell><table:table-cell office:value-type=\"string\" "
    "calcext:value-type=\"error\"><text:p>#DIV/0!</text:p></table:table-cell>"
    "<table:table-cell office:value-type=\"string\" office:string-value=\"caf&#xE9; &quot;\">"
    "<office:annotation><text:p>note</text:p></office:annotation><text:p>caf\xC3\xA9</text:p>"
    "</table:table-cell><table:table-cell table:formula=\"of:=[.A1]&amp;&quot;x&quot;\" "
    "office:value-type=\"percentage\" office:value=\"0.25\"><text:p>25%</text:p>"
    "</table:table-cell></table:table-row>\r\n</table:table>"
    "<table:table table:name=\"T\"><table:table-row><table:table-cell office:value-type=\"float\" "
    "office:value=\"2\"><text:p>2</text:p></table:table-cell></table:table-row></table:table>";

// Well-formed markup that a mutation may insert after a tag.
const char* const kSnippets[] = {" ",
                                 "\r\n",
                                 "<!-- c -->",
                                 "<?pi x?>",
                                 "<x/>",
                                 "<![CDATA[9]]>",
                                 "<text:p>8</text:p>",
                                 "<table:table-cell/>",
                                 "<table:table-row/>",
                                 "<table:table><table:table-row/></table:table>",
                                 "<text:s text:c=\"3\"/>",
                                 ("<table:table-cell office:value-type=\"float\" "
                                  "office:value=\"1\"><text:p>1</text:p></table:table-cell>")};

TEST(OdsTablePathTest, MutatedTablesReadAlikeOnBothPaths) {
    ::tabulon::testing::ScratchFolder folder;
    std::mt19937 random(20261207);
    int read = 0;
    int scanned = 0;
    const int count = 300;
    for (int i = 0; i < count; ++i) {
        std::string tables = testing::mutated(kTables, random, kSnippets);
        if (i % 4 == 3) tables = testing::mutated(tables, random, kSnippets);
        const std::string file = folder.file("m" + std::to_string(i) + ".ods");
        testing::odsPackage(tables, kAutomaticStyles).write(file);
        const auto viaScanner = readThrough(file, TablePath::Scanner);
        EXPECT_EQ(firstDifference(viaScanner, readThrough(file, TablePath::Expat)), "")
            << "mutation " << i << ":\n"
            << tables;
        read += viaScanner.book ? 1 : 0;
        scanned += scannedTables(viaScanner) > 0 ? 1 : 0;
    }
    std::printf("%d mutations: %d read, %d with a table scanned, %d refused\n", count, read,
                scanned, count - read);
    // The mutations exercise both outcomes and both paths.
    EXPECT_GT(scanned, count / 10);
    EXPECT_GT(count - read, count / 10);
}

// Cells at the same place in successive rows mostly repeat their attributes' names, which the
// scanner then takes from the last such tag: repeated exactly, in part, with more or fewer of
// them, with white space around '=', or followed by a duplicate.
TEST(OdsTablePathTest, RepeatedTagsReadAlikeOnBothPaths) {
    const std::string cell = "<table:table-cell office:value-type=\"float\" office:value=";
    const std::string row = "<table:table-row>";
    const std::string end = "</table:table-row>";
    const struct {
        std::string rows;
        bool scanned;  // else refused by both
    } cases[] = {
        {row + cell + "\"1\"/>" + end + row + cell + "'2'/>" + end + row + cell +
             "\"3\" table:style-name=\"ce1\"/>" + end + row + cell + "\"4\"/>" + end,
         true},
        {row + cell + "\"1\" table:style-name=\"ce1\"/>" + end + row +
             "<table:table-cell office:value-type=\"string\" office:string-value=\"a&amp;b\" "
             "table:style-name=\"ce1\"/>" +
             end,
         true},
        {row + "<table:table-cell office:value-type = \"float\" office:value\n=\"5\"/>" + end +
             row + "<table:table-cell office:value-type = \"float\" office:value\n=\"6\"/>" + end,
         true},
        {row + cell + "\"1\"/>" + end + row + cell + "\"2\" office:value-type=\"float\"/>" + end,
         false},
        {row + cell + "\"1\"/>" + end + row + cell + "\"2\" office:value=\"3\"/>" + end, false},
    };
    ::tabulon::testing::ScratchFolder folder;
    for (const auto& c : cases) {
        const std::string file = folder.file("repeated.ods");
        testing::odsPackage("<table:table table:name=\"S\">" + c.rows + "</table:table>",
                            kAutomaticStyles)
            .write(file);
        const auto viaScanner = readThrough(file, TablePath::Scanner);
        EXPECT_EQ(firstDifference(viaScanner, readThrough(file, TablePath::Expat)), "") << c.rows;
        EXPECT_EQ(scannedTables(viaScanner), c.scanned ? 1 : 0) << c.rows;
        EXPECT_EQ(viaScanner.book != nullptr, c.scanned) << c.rows;
    }
}

// Where each table ends is found by a scan that passes over the tags of rows, cells and
// paragraphs. Tables holding markup that might end them early or late read as they do when
// content.xml is read whole, as it is when it declares an encoding other than UTF-8, also when
// the first table is read before that scan has found its end.
TEST(OdsTablePathTest, TablesEndWhereAWholeReadingEndsThem) {
    const std::string row =
        "<table:table-row><table:table-cell office:value-type=\"string\">"
        "<text:p>a</text:p></table:table-cell></table:table-row>";
    const std::string bodies[] = {
        row + "<!-- </table:table><table:table table:name=\"X\"> -->",
        row + "<![CDATA[</table:table>]]>",
        row + "<?pi </table:table>?>",
        row + "<text:p>&lt;/table:table&gt;</text:p>",
        "<table:table-row><table:table-cell><table:table table:name=\"Sub\"><table:table-row/>"
        "</table:table ><text:p>x</text:p></table:table-cell></table:table-row>" +
            row,
        row + "<table:table\n table:name=\"Sub\"/><table:tables/>",
    };
    ::tabulon::testing::ScratchFolder folder;
    for (const std::string& body : bodies) {
        const std::string tables = "<table:table table:name=\"A\">" + body +
                                   "</table:table\t><table:table table:name=\"B\">" + row +
                                   "</table:table>";
        const std::string split = folder.file("split.ods");
        const std::string whole = folder.file("whole.ods");
        testing::odsPackage(tables).write(split);
        testing::odsPackage(tables, {}, {}, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>")
            .write(whole);
        const auto wholly = readThrough(whole, TablePath::Expat);
        ASSERT_TRUE(wholly.book) << body << ": " << wholly.errorText;
        EXPECT_EQ(wholly.book->worksheetCount(), 2u) << body;
        for (const TablePath path : {TablePath::Scanner, TablePath::Expat})
            EXPECT_EQ(firstDifference(readThrough(split, path), wholly), "") << body;
        // Read in halves, the first table while the outline goes on.
        EXPECT_EQ(firstDifference(readThrough(split, TablePath::Scanner, 0), wholly), "") << body;
    }
}

// Styles defined after the first table began: that table, read while the outline went on, is
// read again with all the styles, whose formats (here the one a date and time without a style
// takes) are numbered as when no table is read ahead.
TEST(OdsTablePathTest, StylesAfterTheFirstTableAreNumberedAlike) {
    const std::string row =
        "<table:table-row><table:table-cell office:value-type=\"date\" "
        "office:date-value=\"2023-03-01T10:00:00\"/></table:table-row>";
    ::tabulon::testing::ScratchFolder folder;
    const std::string file = folder.file("late.ods");
    testing::odsPackage("<table:table table:name=\"A\">" + row +
                        "</table:table><office:automatic-styles><style:style "
                        "style:name=\"late\" style:family=\"table-cell\"/>"
                        "</office:automatic-styles><table:table table:name=\"B\">" +
                        row + "</table:table>")
        .write(file);
    EXPECT_EQ(firstDifference(readThrough(file, TablePath::Scanner, 0),
                              readThrough(file, TablePath::Scanner)),
              "");
}

}  // namespace
}  // namespace tabulon::workbook

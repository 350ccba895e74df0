// Tables read in two halves at once, held against the same tables read by one thread and by
// expat: joined where the second half begins at a row of the table itself, read by one thread
// wherever it does not, and alike either way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "OdsPackage.h"
#include "ScratchFolder.h"
#include "SheetPathComparison.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/ods/ContentOutline.h"

namespace tabulon::workbook {
namespace {

using ods::TablePath;
using testing::firstDifference;
using testing::readThrough;

const std::string kStyles =
    "<number:number-style style:name=\"N2\"><number:number number:decimal-places=\"2\" "
    "number:min-integer-digits=\"1\"/></number:number-style>"
    "<style:style style:name=\"ce1\" style:family=\"table-cell\" style:data-style-name=\"N2\"/>";

// Row r of the second table: numbers with the text they show, a text, a cell repeated across
// columns and one spanning two, every seventh row repeated.
std::string row(int r) {
    const std::string n = std::to_string(r);
    return std::string("<table:table-row") +
           (r % 7 == 0 ? " table:number-rows-repeated=\"3\"" : "") +
           "><table:table-cell office:value-type=\"float\" office:value=\"" + n + ".5\"><text:p>" +
           n +
           ".50, shown at length to fill blocks</text:p></table:table-cell><table:table-cell/>"
           "<table:table-cell office:value-type=\"string\"><text:p>t" +
           n +
           "</text:p></table:table-cell><table:table-cell office:value-type=\"float\" "
           "office:value=\"" +
           n + "\" table:number-columns-repeated=\"3\"><text:p>#" + n +
           "</text:p></table:table-cell><table:table-cell office:value-type=\"float\" "
           "office:value=\"1\" table:number-columns-spanned=\"2\"/><table:covered-table-cell/>"
           "</table:table-row>";
}

std::string rows(int from, int to, const std::string& between = {}) {
    std::string text;
    for (int r = from; r <= to; ++r) text += row(r) + between;
    return text;
}

TEST(OdsTableHalvesTest, HalvesAreJoinedOnlyAtARowOfTheTableAndReadAlike) {
    const std::string columns =
        "<table:table-column table:number-columns-repeated=\"2\" "
        "table:default-cell-style-name=\"ce1\"/><table:table-column/>";
    const struct {
        const char* what;
        std::string body;  // of the second table
        bool joined;
        // The body is the first table's, read while the outline goes on: its halves are joined
        // when the outline finds its end before the reading does, which the threads' timing
        // decides.
        bool first = false;
    } cases[] = {
        {"rows", columns + rows(1, 400), true},
        {"rows with line breaks between them", columns + rows(1, 400, "\n  "), true},
        {"rows in a group",
         columns + "<table:table-row-group>" + rows(1, 400) + "</table:table-row-group>", false},
        {"a column after the rows that came before the second half began",
         columns + rows(1, 30) + "<table:table-column table:default-cell-style-name=\"ce1\"/>" +
             rows(31, 400),
         false},
        {"a comment in the second half", columns + rows(1, 300) + "<!-- c -->" + rows(301, 400),
         false},
        {"a damaged second half",
         columns + rows(1, 300) + "<text:p></table:table-row>" + rows(301, 400), false},
        {"rows past the last one only when counted after the first half",
         columns + "<table:table-row table:number-rows-repeated=\"1048276\"/>" + rows(1, 400),
         false},
        {"a table of 270,000 cells with a megabyte of shown texts in each half",
         columns + rows(1, 30000), true},
        {"a first table of 270,000 cells", columns + rows(1, 30000), true, true},
        {"a first table with a stray end tag",
         columns + rows(1, 300) + "</text:p>" + rows(301, 400), false, true},
    };
    ::tabulon::testing::ScratchFolder folder;
    for (const auto& c : cases) {
        const std::string file = folder.file("halves.ods");
        const std::string small =
            "<table:table-row><table:table-cell office:value-type=\"float\" "
            "office:value=\"1\"/></table:table-row>";
        testing::odsPackage(
            "<table:table table:name=\"A\">" + (c.first ? c.body : small) +
                "</table:table><table:table table:name=\"B\">" + (c.first ? small : c.body) +
                "</table:table><table:table table:name=\"C\">" + rows(1, 1) + "</table:table>",
            kStyles)
            .write(file);
        const auto halved = readThrough(file, TablePath::Scanner, 0);
        if (!c.first || !c.joined) {
            EXPECT_EQ(halved.halvesJoined, c.joined ? 1u : 0u) << c.what;
        }
        EXPECT_EQ(firstDifference(halved, readThrough(file, TablePath::Scanner, UINT64_MAX)), "")
            << c.what;
        EXPECT_EQ(firstDifference(halved, readThrough(file, TablePath::Expat)), "") << c.what;
    }
}

// What the outline tells of the first table, whose reading has got to `readTo`.
struct FirstTableSeen : ods::FirstTablePlaced {
    std::uint64_t readTo = 0;
    std::optional<ods::TablePlace> begun;
    std::optional<ods::TablePlace> ended;

    void firstTableBegun(const WorksheetEntry&, const ods::TablePlace& place, bool) override {
        begun = place;
    }
    std::uint64_t firstTableReadTo() const override { return readTo; }
    void firstTableEnded(const ods::TablePlace& place) override {
        EXPECT_TRUE(begun);
        ended = place;
    }
};

// A large table's second half begins at the point kept nearest its middle, from which it inflates
// nothing it does not read; for a first table read while the outline went on, nearest the middle
// of what was left to read. Of the points kept along the tables, only those stay that a table's
// halves start from.
TEST(OdsTableHalvesTest, SecondHalvesBeginAtPointsKeptNearTheMiddle) {
    ::tabulon::testing::ScratchFolder folder;
    const std::string file = folder.file("points.ods");
    // Each table about 16 MB, two spacings of the points.
    testing::odsPackage("<table:table table:name=\"A\">" + rows(1, 30000) +
                            "</table:table><table:table table:name=\"B\">" + rows(1, 30000) +
                            "</table:table>",
                        kStyles)
        .write(file);
    for (const std::uint64_t readTo : {std::uint64_t{0}, std::uint64_t{9} << 20}) {
        SCOPED_TRACE(readTo);
        ZipArchive archive(file);
        archive.keepPoints(ods::kContentPart);
        ods::OdsStyles styles;
        FirstTableSeen first;
        first.readTo = readTo;
        const ods::ContentOutline outline = ods::readContentOutline(archive, styles, &first);
        ASSERT_EQ(outline.places.size(), 2u);
        ASSERT_TRUE(first.begun && first.ended);
        EXPECT_EQ(first.begun->bodyStart, outline.places[0].bodyStart);
        EXPECT_EQ(*first.ended, outline.places[0]);
        std::vector<std::uint64_t> kept;
        for (const std::uint64_t point : archive.pointsKept(ods::kContentPart))
            if (point < outline.places[1].bodyEnd) kept.push_back(point);
        // The rest of the first table has no point near its middle when its reading is far on.
        if (readTo == 0) {
            EXPECT_EQ(kept, (std::vector<std::uint64_t>{outline.places[0].split,
                                                        outline.places[1].split}));
        }
        for (const ods::TablePlace& table : outline.places) {
            const std::uint64_t from =
                &table == &outline.places[0] ? std::max(table.bodyStart, readTo) : table.bodyStart;
            const std::uint64_t middle = (from + table.bodyEnd) / 2;
            EXPECT_GT(table.split, from);
            EXPECT_LT(std::max(table.split, middle) - std::min(table.split, middle),
                      (table.bodyEnd - from) / 8);
        }
    }
}

// The second half takes half of the cells the workbook has left while it reads. A first half that
// needs more than the rest is read again by one thread, which has them all: the table is read,
// as it is by one thread from the start.
TEST(OdsTableHalvesTest, AFirstHalfShortOfCellsIsReadAgainAlone) {
    // 500 rows of 16,384 cells each: 8,192,000 of the 20,000,000 cells a workbook may hold.
    const std::string large =
        "<table:table-row table:number-rows-repeated=\"500\"><table:table-cell "
        "office:value-type=\"float\" office:value=\"1\" "
        "table:number-columns-repeated=\"16384\"/></table:table-row>";
    // 150 such rows (2,457,600 cells) in the first half, when fewer than 3,700,000 are left.
    const std::string last =
        rows(1, 100) +
        "<table:table-row table:number-rows-repeated=\"150\"><table:table-cell "
        "office:value-type=\"float\" office:value=\"2\" "
        "table:number-columns-repeated=\"16384\"/></table:table-row>" +
        rows(101, 3000);
    ::tabulon::testing::ScratchFolder folder;
    const std::string file = folder.file("budget.ods");
    testing::odsPackage("<table:table table:name=\"A\">" + rows(1, 1) +
                            "</table:table><table:table table:name=\"B\">" + large +
                            "</table:table><table:table table:name=\"C\">" + large +
                            "</table:table><table:table table:name=\"D\">" + last +
                            "</table:table>",
                        kStyles)
        .write(file);
    const auto halved = readThrough(file, TablePath::Scanner, 0);
    ASSERT_TRUE(halved.book) << halved.errorText;
    const workbook::CellRange range = halved.book->worksheet(3).usedRange();
    EXPECT_EQ(range.lastRow, 100 + 14 * 2 + 150 + 2900 + 414 * 2);
    EXPECT_EQ(range.lastCol, 16384);
}

}  // namespace
}  // namespace tabulon::workbook

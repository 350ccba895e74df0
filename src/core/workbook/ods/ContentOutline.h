// content.xml read once when the workbook opens: expat reads everything but the contents of the
// tables (the styles, the null date, each table's name and visibility), while a light scan finds
// where each table's content lies, for the table to be read from there when it is asked for. It
// tells where the first table begins and ends, so that the table may be read meanwhile.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/WorkbookReader.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/ods/OdsStyles.h"

namespace tabulon::workbook::ods {

inline constexpr std::string_view kContentPart = "content.xml";

// Where a table lies in the bytes of content.xml.
struct TablePlace {
    std::uint64_t tagStart;   // the '<' of its start tag
    std::uint64_t bodyStart;  // just after its start tag
    std::uint64_t bodyEnd;    // the '<' of its end tag, or content.xml's end when it has none
    std::uint64_t end;        // after its end tag, or content.xml's end
    bool closed;              // it has its end tag
    // Where a second half of its content may begin: a point kept near the middle of its content,
    // from which the half inflates nothing it does not read, or else that middle. For a first
    // table read while the scan went on, the middle of what was left to read when it ended.
    std::uint64_t split;

    bool operator==(const TablePlace&) const = default;
};

struct ContentOutline {
    std::vector<WorksheetEntry> tables;
    // The place of each table; empty when content.xml is to be read as a whole for each table
    // (text that is not UTF-8, or markup that the scan does not split).
    std::vector<TablePlace> places;
    // No style and no date system was defined after the first table had begun.
    bool settledBeforeFirstTable = true;
    bool date1904 = false;  // the date system content.xml sets
};

// What is told of the first table while the scan goes on, so that the table may be read
// meanwhile: when it begins, and where it ends.
class FirstTablePlaced {
  public:
    virtual ~FirstTablePlaced() = default;
    // On the thread that reads content.xml, once the table's start tag is read, with the styles
    // read into `styles` so far and the date system that holds there. Only the place's start is
    // known (its content ends at its start, and it is not closed, unless the tag closes itself).
    virtual void firstTableBegun(const WorksheetEntry& table, const TablePlace& place,
                                 bool date1904) = 0;
    // How far the table's content has been read meanwhile: its split is placed in the rest.
    virtual std::uint64_t firstTableReadTo() const = 0;
    // The table's whole place, once its end is known.
    virtual void firstTableEnded(const TablePlace& place) = 0;
};

// Reads content.xml's styles sections into styles (which holds those of styles.xml), telling
// `first`, when given, where the first table lies. Throws ReadError for damage outside the
// tables; damage inside a table is left for the table to report when it is read.
ContentOutline readContentOutline(ZipArchive& archive, OdsStyles& styles,
                                  FirstTablePlaced* first = nullptr);

}  // namespace tabulon::workbook::ods

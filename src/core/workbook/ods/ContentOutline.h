// content.xml read once when the workbook opens: expat reads everything but the contents of the
// tables (the styles, the null date, each table's name and visibility), while a light scan finds
// where each table's content lies, for the table to be read from there when it is asked for. Both
// run on the stream's watching thread, beside the one that inflates content.xml, so that the caller
// may read the first table from the same chunks meanwhile.
#pragma once

#include <cstdint>
#include <optional>
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
};

struct ContentOutline {
    std::vector<WorksheetEntry> tables;
    // The place of each table; empty when content.xml is to be read as a whole for each table
    // (text that is not UTF-8, or markup that the scan does not split).
    std::vector<TablePlace> places;
    // No style and no date system was defined after the first table had begun.
    bool settledBeforeFirstTable = true;
};

// What reads the first table from the chunks of the outline's own reading of content.xml.
class FirstTableReader {
  public:
    virtual ~FirstTableReader() = default;
    // On the watching thread, once everything before the first table's content has been read
    // (its styles, its name and visibility, the date system given here).
    virtual void firstTableStarts(const WorksheetEntry& table, bool date1904) = 0;
    // On the calling thread, each chunk of content.xml in order, from `offset`; `content`: where
    // the first table's content begins, once that is known (it is known before any chunk that holds
    // some of it).
    virtual void take(std::string_view chunk, std::uint64_t offset,
                      std::optional<std::uint64_t> content) = 0;
};

// Reads content.xml's styles sections into styles (which holds those of styles.xml) and its null
// date into the book, handing its chunks to `first` when given. Throws ReadError for damage
// outside the tables; damage inside a table is left for the table to report when it is read.
ContentOutline readContentOutline(ZipArchive& archive, OdsStyles& styles, WorkbookData& book,
                                  FirstTableReader* first = nullptr);

}  // namespace tabulon::workbook::ods

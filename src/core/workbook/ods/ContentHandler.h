// The events of content.xml from expat: the styles sections to the styles, the null date to the
// book, each of the spreadsheet's tables listed; the elements inside one chosen table to its
// reader. A table is a table:table outside the styles sections and outside another table.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/WorkbookReader.h"
#include "core/workbook/ods/MarkupAttribute.h"
#include "core/workbook/ods/OdsStyles.h"
#include "core/workbook/ods/TableReader.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::ods {

class ContentHandler : public xml::XmlHandler {
  public:
    // Lists the tables (name and visibility) into tables, with the styles sections read into
    // styles and the date system kept for date1904().
    ContentHandler(OdsStyles& styles, std::vector<WorksheetEntry>& tables)
        : styles_(&styles), tables_(&tables) {}
    // Hands the elements inside the table'th table (from 0) to the reader.
    ContentHandler(TableReader& reader, std::size_t table) : reader_(&reader), wanted_(table) {}

    // A table:table that started now would be one of the spreadsheet's tables.
    bool atTableLevel() const { return stylesDepth_ == 0 && tableDepth_ == 0; }
    // The chosen table has been read to its end.
    bool tableRead() const { return tableRead_; }
    // An element inside a table is being read.
    bool insideTable() const { return tableDepth_ != 0; }
    // True when serial day numbers count from 1904, as the null date read so far says.
    bool date1904() const { return date1904_; }

    void startElement(std::string_view name, const xml::XmlAttributes& attributes) override;
    void endElement(std::string_view name) override;
    void characters(std::string_view text) override;

  private:
    void startTable(const xml::XmlAttributes& attributes);

    OdsStyles* styles_ = nullptr;
    std::vector<WorksheetEntry>* tables_ = nullptr;
    TableReader* reader_ = nullptr;
    std::size_t wanted_ = 0;

    std::size_t tablesSeen_ = 0;
    int depth_ = 0;
    int stylesDepth_ = 0;   // of the styles section being read; 0 outside them
    int tableDepth_ = 0;    // of the table being passed over or read; 0 outside tables
    bool reading_ = false;  // the elements inside the table go to the reader
    bool tableRead_ = false;
    bool date1904_ = false;
    std::vector<MarkupAttribute> attributes_;
};

}  // namespace tabulon::workbook::ods

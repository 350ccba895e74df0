// What the elements inside one table:table mean: columns, rows, cells, their values, styles and
// paragraphs, stored into the table's worksheet. The table scanner and expat both feed it.
#pragma once

#include <string_view>

#include "core/workbook/ReadError.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ods/CellParagraphs.h"
#include "core/workbook/ods/CellStyleFormats.h"
#include "core/workbook/ods/CellValueReader.h"
#include "core/workbook/ods/MarkupAttribute.h"
#include "core/workbook/ods/OdsWorksheet.h"
#include "core/workbook/ods/StyleFormats.h"
#include "core/workbook/ods/TableGrid.h"

namespace tabulon::workbook::ods {

class TableReader {
  public:
    // place: the file, part and sheet that errors name.
    TableReader(ReadErrorPlace place, const WorkbookData& book, const StyleFormats& styles,
                OdsWorksheet& sheet);

    // The elements inside the table, by local name. Throws ReadError for cells outside the sheet
    // and past the limits.
    void startElement(std::string_view name, MarkupAttributes attributes);
    void endElement(std::string_view name);
    // Character data, possibly in pieces; only wanted while wantsText().
    void characters(std::string_view text) { paragraphs_.characters(text); }
    bool wantsText() const { return wantText_; }
    // Sorts the cells and trims the sheet's buffers; call once after the table's last element.
    void finish() { sheet_.finish(); }

    // For a reader of the table's rows after some that `other` read: the columns it has read.
    void takeColumnsOf(const TableReader& other);
    // table:table-column elements read so far.
    std::size_t columnElements() const { return columnElements_; }
    // A row has begun.
    bool rowsBegun() const { return rowDepth_ != 0 || grid_.nextRow() > 1; }
    const TableGrid& grid() const { return grid_; }

  private:
    void endCell();

    OdsWorksheet& sheet_;
    CellStyleFormats formats_;
    TableGrid grid_;
    CellValueReader values_;
    CellParagraphs paragraphs_;
    int depth_ = 0;      // of the element being read, the table's children at 1
    int cellDepth_ = 0;  // of the cell being read; 0 outside cells
    int rowDepth_ = 0;   // of the row being read; 0 outside rows
    bool wantText_ = false;
    std::size_t columnElements_ = 0;
};

}  // namespace tabulon::workbook::ods

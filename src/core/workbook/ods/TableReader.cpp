// The elements of a table sent to what reads them: its structure to the grid, and each cell to its
// value, paragraphs and style format.
#include "core/workbook/ods/TableReader.h"

namespace tabulon::workbook::ods {

TableReader::TableReader(ReadErrorPlace place, const WorkbookData& book, const StyleFormats& styles,
                         OdsWorksheet& sheet)
    : sheet_(sheet),
      formats_(styles),
      grid_(std::move(place), book, sheet),
      values_(book, styles, formats_) {}

void TableReader::startElement(std::string_view name, MarkupAttributes attributes) {
    ++depth_;
    if (cellDepth_ != 0) {
        if (!grid_.inCoveredCell()) {
            paragraphs_.startElement(name, attributes, depth_ - cellDepth_);
            wantText_ = paragraphs_.wantsText();
        }
        return;
    }
    if (named(name, "table-column")) {
        ++columnElements_;
        if (const auto run = grid_.addColumns(attributes))
            formats_.addColumns(run->first, run->last, attributes);
    } else if (named(name, "table-row")) {
        // A row inside a row is no row of its own: its cells go on in the outer one, so that
        // cells arrive in row and column order.
        if (rowDepth_ != 0) return;
        rowDepth_ = depth_;
        grid_.startRow(attributes);
        formats_.startRow(attributes);
    } else if (named(name, "table-cell") || named(name, "covered-table-cell")) {
        cellDepth_ = depth_;
        grid_.startCell(named(name, "covered-table-cell"), attributes);
        values_.startCell(attributes, grid_.column());
        paragraphs_.clear();
    }
}

void TableReader::takeColumnsOf(const TableReader& other) {
    grid_.takeColumns(other.grid_);
    formats_.takeColumns(other.formats_);
}

// Rows are told by their depth; the name is not needed.
void TableReader::endElement(std::string_view /*name*/) {
    if (cellDepth_ != 0) {
        if (depth_ > cellDepth_) {
            paragraphs_.endElement(depth_ - cellDepth_);
            wantText_ = paragraphs_.wantsText();
        } else {
            endCell();
            cellDepth_ = 0;
        }
    } else if (depth_ == rowDepth_) {
        grid_.endRow();
        rowDepth_ = 0;
    }
    --depth_;
}

void TableReader::endCell() {
    const std::int64_t column = grid_.endCell();
    // A cell outside every row has no place.
    if (grid_.inCoveredCell() || rowDepth_ == 0) return;
    if (const auto content = values_.content(paragraphs_, sheet_)) grid_.place(column, *content);
}

}  // namespace tabulon::workbook::ods

// The events of content.xml sent to what reads them: the styles sections to the styles, the
// tables' structure to the grid, and each cell to its value, paragraphs and style format.
#include "core/workbook/ods/ContentParser.h"

#include <string>

#include "core/workbook/ods/CellParagraphs.h"
#include "core/workbook/ods/CellStyleFormats.h"
#include "core/workbook/ods/CellValueReader.h"
#include "core/workbook/ods/TableGrid.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::ods {

namespace {

constexpr std::string_view kPart = "content.xml";

class ContentHandler : public xml::XmlHandler {
  public:
    ContentHandler(const std::string& path, OdsStyles& styles, WorkbookData& book,
                   std::vector<std::unique_ptr<StoredWorksheet>>& sheets)
        : styles_(styles),
          formats_(styles, book.cellFormats),
          grid_({path, std::string(kPart), {}, {}}, book, sheets),
          values_(book, formats_) {}

    // The worksheet of the table being read; nullptr between tables.
    const OdsWorksheet* sheet() const { return grid_.sheet(); }

    void startElement(std::string_view name, const xml::XmlAttributes& attributes) override {
        ++depth_;
        if (stylesDepth_ != 0) {
            styles_.startElement(name, attributes);
            wantText = styles_.wantsText();
            return;
        }
        if (cellDepth_ != 0) {
            if (!grid_.inCoveredCell()) {
                paragraphs_.startElement(name, attributes, depth_ - cellDepth_);
                wantText = paragraphs_.wantsText();
            }
            return;
        }
        if (name == "automatic-styles" || name == "styles") {
            stylesDepth_ = depth_;
        } else if (name == "table" && grid_.sheet() == nullptr) {
            grid_.startTable(attributes, styles_);
            formats_.startTable();
            tableDepth_ = depth_;
        } else if (grid_.sheet() == nullptr) {
            if (name == "null-date") values_.readNullDate(attributes);
        } else if (name == "table-column") {
            if (const auto run = grid_.addColumns(attributes))
                formats_.addColumns(run->first, run->last, attributes);
        } else if (name == "table-row") {
            grid_.startRow(attributes);
            formats_.startRow(attributes);
        } else if (name == "table-cell" || name == "covered-table-cell") {
            cellDepth_ = depth_;
            grid_.startCell(name == "covered-table-cell", attributes);
            values_.startCell(attributes);
            paragraphs_.clear();
        }
    }

    void endElement(std::string_view name) override {
        if (stylesDepth_ != 0) {
            if (depth_ == stylesDepth_) {
                stylesDepth_ = 0;
            } else {
                styles_.endElement(name);
                wantText = styles_.wantsText();
            }
        } else if (cellDepth_ != 0) {
            if (depth_ > cellDepth_) {
                paragraphs_.endElement(depth_ - cellDepth_);
                wantText = paragraphs_.wantsText();
            } else {
                endCell();
                cellDepth_ = 0;
            }
        } else if (grid_.sheet() != nullptr && depth_ == tableDepth_) {
            grid_.endTable();
        } else if (grid_.sheet() != nullptr && name == "table-row") {
            grid_.endRow();
        }
        --depth_;
    }

    void characters(std::string_view text) override {
        if (stylesDepth_ != 0) return styles_.characters(text);
        paragraphs_.characters(text);
    }

  private:
    void endCell() {
        const std::int64_t column = grid_.endCell();
        if (grid_.inCoveredCell()) return;
        if (const auto content = values_.content(paragraphs_, column, *grid_.sheet()))
            grid_.place(column, *content);
    }

    OdsStyles& styles_;
    CellStyleFormats formats_;
    TableGrid grid_;
    CellValueReader values_;
    CellParagraphs paragraphs_;
    int depth_ = 0;
    int stylesDepth_ = 0;  // of the styles section being read; 0 outside them
    int tableDepth_ = 0;
    int cellDepth_ = 0;  // of the cell being read; 0 outside cells
};

}  // namespace

void readContent(ZipArchive& archive, OdsStyles& styles, WorkbookData& book,
                 std::vector<std::unique_ptr<StoredWorksheet>>& sheets) {
    ContentHandler handler(archive.path(), styles, book, sheets);
    try {
        xml::parseXmlPart(archive, kPart, handler);
    } catch (const ReadError& e) {
        // XML that breaks inside a table names that table's sheet, as the other readers do.
        const OdsWorksheet* sheet = handler.sheet();
        if (!e.place().sheet.empty() || sheet == nullptr) throw;
        throw e.placedIn({}, sheet->name());
    }
}

}  // namespace tabulon::workbook::ods

// The styles of an OpenDocument spreadsheet that Tabulon needs: each cell style's number format
// code (through its data style and parents) and which table styles hide their sheet.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/workbook/ZipArchive.h"
#include "core/workbook/ods/DataStyle.h"

namespace tabulon::workbook::ods {

class OdsStyles {
  public:
    // The elements of office:styles and office:automatic-styles, in document order, from
    // styles.xml and then content.xml (later definitions replace earlier ones).
    void startElement(std::string_view name, const xml::XmlAttributes& attributes);
    void endElement(std::string_view name);
    bool wantsText() const { return builder_ && builder_->wantsText(); }
    void characters(std::string_view text) {
        if (builder_) builder_->characters(text);
    }

    // The format code of a cell style; "General" for a style without a data style. An empty
    // name means the document's default cell style.
    std::string formatCode(std::string_view cellStyle) const;
    // The format code of a data style with its conditional sections.
    std::string dataStyleCode(std::string_view dataStyle) const;
    // The names of the cell styles defined so far ("" for the default cell style).
    std::vector<std::string> cellStyleNames() const;
    // How many definitions (of cell, data and table styles) have been read so far.
    std::size_t definitionCount() const { return definitions_; }
    bool hidesTable(std::string_view tableStyle) const {
        return hiddenTables_.contains(std::string(tableStyle));
    }

  private:
    struct CellStyle {
        std::string parent;
        std::string dataStyle;
    };

    std::unordered_map<std::string, CellStyle> cellStyles_;
    std::unordered_map<std::string, DataStyle> dataStyles_;
    std::unordered_set<std::string> hiddenTables_;

    std::size_t definitions_ = 0;
    std::optional<DataStyleBuilder> builder_;
    std::string builderName_;
    std::string tableStyle_;  // the table style:style being read, for its table-properties
};

// Reads the office:styles and office:automatic-styles of a part (styles.xml) into styles.
void readStylesPart(ZipArchive& archive, std::string_view part, OdsStyles& styles);

}  // namespace tabulon::workbook::ods

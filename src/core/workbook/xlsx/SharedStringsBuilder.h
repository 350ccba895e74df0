// What the elements of the shared string table mean: one string per <si>, the text of its <t>
// elements joined (rich-text runs), phonetic runs left out. Fed by expat or the content scanner.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/workbook/CellText.h"
#include "core/workbook/StringPool.h"
#include "core/workbook/xlsx/XmlAttribute.h"

namespace tabulon::workbook::xlsx {

class SharedStringsBuilder {
  public:
    explicit SharedStringsBuilder(StringPool& out) : out_(out) {}

    void startElement(std::string_view name, std::span<const XmlAttribute> attributes);
    void endElement(std::string_view name);
    // Character data, possibly in pieces; only wanted while wantsText(). What lies past the cell
    // text limit is not kept.
    void characters(std::string_view text) { appendCellMarkup(text_, text); }
    // An element without attributes that holds only character data: its start, text and end.
    void textElement(std::string_view name, std::string_view text);
    bool wantsText() const { return wantText_; }

  private:
    StringPool& out_;
    std::string text_;
    bool inItem_ = false;
    bool wantText_ = false;
    int phoneticDepth_ = 0;
};

}  // namespace tabulon::workbook::xlsx

// The text that a cell's paragraphs show: text:p and text:h one line each, runs of white space
// shown as one space, text:s, text:tab and text:line-break, notes, annotations and ruby text
// left out. What lies past the cell text limit is dropped as it comes.
#pragma once

#include <string>
#include <string_view>

#include "core/workbook/ods/MarkupAttribute.h"

namespace tabulon::workbook::ods {

class CellParagraphs {
  public:
    // A cell starts.
    void clear();
    // The elements inside the cell; depth is 1 for the cell's children.
    void startElement(std::string_view name, MarkupAttributes attributes, int depth);
    void endElement(int depth);
    // Character data, to be given only while wantsText().
    void characters(std::string_view text);
    bool wantsText() const { return paragraphDepth_ != 0 && skipDepth_ == 0; }

    const std::string& text() const { return text_; }
    // Whether the cell has a paragraph (whose text is then what the file shows for its value).
    bool any() const { return paragraphs_ > 0; }

  private:
    std::string text_;
    int paragraphs_ = 0;
    int paragraphDepth_ = 0;  // of the paragraph being read; 0 outside paragraphs
    int skipDepth_ = 0;       // of the note or annotation being passed over; 0 otherwise
    bool afterSpace_ = false;
};

}  // namespace tabulon::workbook::ods

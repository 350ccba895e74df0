// Shared strings from element events.
#include "core/workbook/xlsx/SharedStringsBuilder.h"

#include "core/workbook/xml/EscapedText.h"

namespace tabulon::workbook::xlsx {

void SharedStringsBuilder::startElement(std::string_view name, std::span<const XmlAttribute>) {
    if (name == "si") {
        inItem_ = true;
        text_.clear();
    } else if (name == "rPh") {
        ++phoneticDepth_;
    } else if (name == "t") {
        wantText_ = inItem_ && phoneticDepth_ == 0;
    }
}

void SharedStringsBuilder::endElement(std::string_view name) {
    if (name == "si") {
        xml::decodeEscapedCharacters(text_);
        out_.add(text_);
        inItem_ = false;
    } else if (name == "rPh") {
        --phoneticDepth_;
    } else if (name == "t") {
        wantText_ = false;
    }
}

void SharedStringsBuilder::textElement(std::string_view name, std::string_view text) {
    startElement(name, {});
    if (wantText_) characters(text);
    endElement(name);
}

}  // namespace tabulon::workbook::xlsx

// Passing expat's element events to the sheet builder, attribute names without prefixes.
#include "core/workbook/xlsx/SheetXmlHandler.h"

namespace tabulon::workbook::xlsx {

void SheetXmlHandler::startElement(std::string_view name, const xml::XmlAttributes& attributes) {
    attributes_.clear();
    for (const char* const* a = attributes.raw(); *a != nullptr; a += 2)
        attributes_.push_back({xml::localName(a[0]), a[1]});
    builder_.startElement(name, attributes_);
    wantText = builder_.wantsText();
}

void SheetXmlHandler::endElement(std::string_view name) {
    builder_.endElement(name);
    wantText = builder_.wantsText();
}

}  // namespace tabulon::workbook::xlsx

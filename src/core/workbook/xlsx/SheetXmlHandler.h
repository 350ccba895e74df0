// The expat side of a worksheet part: element events passed on to the sheet builder.
#pragma once

#include <vector>

#include "core/workbook/xlsx/SheetBuilder.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::xlsx {

class SheetXmlHandler : public xml::XmlHandler {
  public:
    explicit SheetXmlHandler(SheetBuilder& builder) : builder_(builder) {}

    void startElement(std::string_view name, const xml::XmlAttributes& attributes) override;
    void endElement(std::string_view name) override;
    void characters(std::string_view text) override { builder_.characters(text); }

  private:
    SheetBuilder& builder_;
    std::vector<XmlAttribute> attributes_;
};

}  // namespace tabulon::workbook::xlsx

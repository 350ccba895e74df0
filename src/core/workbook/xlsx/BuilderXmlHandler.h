// The expat side of a part that a builder reads: element events passed on to it, attribute names
// without prefixes. Builder: as ContentScanner's.
#pragma once

#include <vector>

#include "core/workbook/xlsx/XmlAttribute.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::xlsx {

template <class Builder>
class BuilderXmlHandler : public xml::XmlHandler {
  public:
    explicit BuilderXmlHandler(Builder& builder) : builder_(builder) {}

    void startElement(std::string_view name, const xml::XmlAttributes& attributes) override {
        attributes_.clear();
        for (const char* const* a = attributes.raw(); *a != nullptr; a += 2)
            attributes_.push_back({xml::localName(a[0]), a[1]});
        builder_.startElement(name, attributes_);
        wantText = builder_.wantsText();
    }
    void endElement(std::string_view name) override {
        builder_.endElement(name);
        wantText = builder_.wantsText();
    }
    void characters(std::string_view text) override { builder_.characters(text); }

  private:
    Builder& builder_;
    std::vector<XmlAttribute> attributes_;
};

}  // namespace tabulon::workbook::xlsx

// Streams one XML part of a zip through expat into a handler, element names without prefixes.
#pragma once

#include <string>
#include <string_view>

#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsx {

// Attributes as expat hands them: name, value, name, value, ..., nullptr.
class XmlAttributes {
  public:
    explicit XmlAttributes(const char** list) : list_(list) {}
    // The value of the attribute with this local name (prefix ignored), or nullptr.
    const char* find(std::string_view localName) const;
    const char* const* raw() const { return list_; }

  private:
    const char** list_;
};

class XmlHandler {
  public:
    virtual ~XmlHandler() = default;
    virtual void startElement(std::string_view name, const XmlAttributes& attributes) = 0;
    virtual void endElement(std::string_view name) = 0;
    // Character data, possibly in several pieces; only called while wantText() is true.
    virtual void characters(std::string_view text) = 0;
    bool wantText = false;
};

// The local part of a qualified name: "x:row" -> "row".
std::string_view localName(const char* qualifiedName);

// Parses the part. A part that declares a document type is refused (workbook parts never do, and
// entity declarations are how XML bombs work). Exceptions thrown by the handler pass through;
// malformed XML throws ReadError (DamagedXml) naming the part and line.
void parseXmlPart(ZipArchive& archive, std::string_view part, XmlHandler& handler);

}  // namespace tabulon::workbook::xlsx

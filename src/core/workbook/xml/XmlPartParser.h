// Streams one XML part of a zip through expat into a handler, element names without prefixes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xml {

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

// An expat parser fed piece by piece, for readers that hand some stretches of a part to other
// code and feed only the rest.
class XmlStream {
  public:
    // firstLine: the line that the first byte lies on, for messages about a stretch cut out of a
    // larger part.
    explicit XmlStream(XmlHandler& handler, std::uint64_t firstLine = 1);
    ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    // Parses the next bytes; last marks the end of the document. Exceptions thrown by the
    // handler pass through. Returns false when the XML is malformed or declares a document
    // type; error() then says why, and the stream takes no more input.
    bool feed(const char* data, std::size_t size, bool last = false);
    const std::string& error() const { return error_; }
    // The encoding that the XML declaration names, once it has been read; empty without one.
    const std::string& declaredEncoding() const;

    struct State;  // the expat parser and what its callbacks share

  private:
    std::unique_ptr<State> state_;
    std::string error_;
};

// Parses the package part. A part that declares a document type is refused (workbook parts never
// do, and entity declarations are how XML bombs work). Exceptions thrown by the handler pass
// through; malformed XML throws ReadError (DamagedXml) naming the package part and line.
void parseXmlPart(ZipArchive& archive, std::string_view part, XmlHandler& handler);

}  // namespace tabulon::workbook::xml

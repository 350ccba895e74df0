// A scanner for the markup inside one element of a part (<sheetData> of a worksheet, <sst> of the
// shared strings): the few elements and attributes that rows, cells and strings use, read without
// a general XML parser.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/workbook/xlsx/XmlAttribute.h"
#include "core/workbook/xml/TokenLoop.h"

namespace tabulon::workbook::xlsx {

// Thrown when the markup holds something the scanner does not read (comments, CDATA, processing
// instructions, prefixed element names, references in attribute values, malformed markup): the
// part must then be read by the general parser.
struct UnsupportedMarkup {};

// Reads the content of the container element in pieces and hands the same element events to the
// builder that the general parser would. It accepts only well-formed markup of a small grammar,
// so whatever it reads, the general parser reads the same way. Builder: startElement(name,
// attributes), endElement(name), characters(text), textElement(name, text) and wantsText(), as
// SheetBuilder has them.
template <class Builder>
class ContentScanner {
  public:
    using Unsupported = UnsupportedMarkup;

    // container: the name of the element whose content is scanned.
    ContentScanner(Builder& builder, std::string_view container)
        : builder_(builder), container_(container) {}

    // Scans the whole tokens of [begin, end), which continues where the last call stopped.
    // Returns where it stopped: at the start of an incomplete token, for the caller to offer
    // again with more bytes after it, or at the container's end tag (then reachedEnd()).
    // Throws UnsupportedMarkup, and ReadError from the builder.
    const char* scan(const char* begin, const char* end);
    bool reachedEnd() const { return reachedEnd_; }

  private:
    template <class Scanner>
    friend const char* xml::scanTokens(Scanner&, const char*, const char*);

    const char* scanText(const char* p, const char* end);
    const char* scanTextElement(const char* p, const char* end);
    const char* scanStartTag(const char* p, const char* end);
    const char* scanEndTag(const char* p, const char* end);

    static constexpr std::size_t kMaxAttributes = 32;
    static constexpr std::size_t kMaxDepth = 256;

    Builder& builder_;
    std::string_view container_;
    // The attributes of the tag being scanned, kept here so that no tag pays for clearing them.
    std::array<XmlAttribute, kMaxAttributes> attributes_;
    std::array<std::string_view, kMaxAttributes> qualifiedNames_;
    std::vector<std::string> open_;  // names of the open elements inside the container
    std::size_t depth_ = 0;
    std::string decoded_;
    bool reachedEnd_ = false;
};

}  // namespace tabulon::workbook::xlsx

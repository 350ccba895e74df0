// A scanner for the markup inside a table:table: elements with prefixed names, attributes and
// text, read without a general XML parser and handed to the table reader as expat would.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/workbook/ods/MarkupAttribute.h"
#include "core/workbook/ods/TableReader.h"

namespace tabulon::workbook::ods {

// Thrown when the markup holds something the scanner does not read (comments, CDATA, processing
// instructions, line ends or tabs in attribute values, non-ASCII names, malformed markup): the
// table must then be read by expat.
struct UnsupportedTableMarkup {};

// Reads the content of a table, from just after its start tag to just before its end tag, in
// pieces. It accepts only well-formed markup of a grammar that expat reads the same way.
class TableBodyScanner {
  public:
    explicit TableBodyScanner(TableReader& reader) : reader_(reader) {}

    // Scans the whole tokens of [begin, end), which continues where the last call stopped, and
    // returns where it stopped: at the start of an incomplete token. Throws
    // UnsupportedTableMarkup, and ReadError from the reader.
    const char* scan(const char* begin, const char* end);
    // The content ends inside the table, not beyond it.
    bool reachedEnd() const { return false; }
    // Every element that the content opened is closed.
    bool balanced() const { return depth_ == 0; }

  private:
    const char* scanText(const char* p, const char* end);
    const char* scanTextElement(const char* p, const char* end);
    const char* scanStartTag(const char* p, const char* end);
    const char* scanEndTag(const char* p, const char* end);

    static constexpr std::size_t kMaxAttributes = 32;
    static constexpr std::size_t kMaxDepth = 256;

    TableReader& reader_;
    // The attributes of the tag being scanned, kept here so that no tag pays for clearing them.
    std::array<MarkupAttribute, kMaxAttributes> attributes_;
    // Where a value with references or non-ASCII text lies decoded in decoded_; kRaw for a value
    // taken as it stands.
    static constexpr std::size_t kRaw = SIZE_MAX;
    std::array<std::size_t, kMaxAttributes> decodedAt_{};
    std::array<std::size_t, kMaxAttributes> decodedSize_{};
    std::vector<std::string> open_;        // qualified names of the open elements
    std::vector<std::size_t> openLocal_;  // where their local names start
    std::size_t depth_ = 0;
    std::string decoded_;  // decoded text, or decoded attribute values of one tag
};

}  // namespace tabulon::workbook::ods

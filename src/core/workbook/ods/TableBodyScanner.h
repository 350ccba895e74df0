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
#include "core/workbook/xml/TokenLoop.h"

namespace tabulon::workbook::ods {

// Thrown when the markup holds something the scanner does not read (comments, CDATA, processing
// instructions, line ends or tabs in attribute values, non-ASCII names, malformed markup): the
// table must then be read by expat.
struct UnsupportedTableMarkup {};

// Reads the content of a table, from just after its start tag, in pieces, up to the end tag that
// closes the table. It accepts only well-formed markup of a grammar that expat reads the same way.
class TableBodyScanner {
  public:
    using Unsupported = UnsupportedTableMarkup;

    explicit TableBodyScanner(TableReader& reader) : reader_(reader) {}

    // Scans the whole tokens of [begin, end), which continues where the last call stopped, and
    // returns where it stopped: at the start of an incomplete token, or at an end tag that closes
    // nothing the content opened, the table's own (then reachedEnd()). Throws
    // UnsupportedTableMarkup, and ReadError from the reader.
    const char* scan(const char* begin, const char* end);
    bool reachedEnd() const { return reachedEnd_; }
    // Every element that the content opened is closed.
    bool balanced() const { return depth_ == 0; }

  private:
    template <class Scanner>
    friend const char* xml::scanTokens(Scanner&, const char*, const char*);

    struct KnownName;
    // Scans the name at p, setting local to its part after the last colon and known to the entry
    // of the names met before that it was found in (else nullptr); nullptr when the bytes end
    // inside it.
    const char* scanName(const char* p, const char* end, const char*& local,
                         const KnownName*& known);
    const char* scanText(const char* p, const char* end);
    const char* scanTextElement(const char* p, const char* end);
    const char* textElement(const char* p, const char* nameEnd, const char* local, const char* end);
    const char* scanStartTag(const char* p, const char* end);
    // The attribute whose name lies at [name, nameEnd), local part at local, and whose value
    // begins at valueStart after its quote: its value is read and it is kept as attribute
    // `index`. Returns what follows the closing quote; nullptr when the value does not end in the
    // bytes.
    const char* takeAttribute(std::size_t index, const char* name, const char* local,
                              const char* nameEnd, const char* valueStart, const char* end);
    const char* scanEndTag(const char* p, const char* end);

    static constexpr std::size_t kMaxAttributes = 32;
    static constexpr std::size_t kMaxDepth = 256;

    // Names met before, found again by their first eight bytes without checking their
    // characters once more: a table uses few names, most of them long.
    struct KnownName {
        std::uint64_t head = 0;
        std::string name;
        std::size_t local = 0;
    };
    // The attributes of the last start tag at one place among its siblings (the cells of a row,
    // by column), as they stood in the bytes: each one's lead, its white space, name, '=' and
    // quote. The next tag there mostly repeats them, and an attribute whose lead it repeats to the
    // byte is taken without its name being read again: the same bytes read the same way, and
    // they were read without fault before, as attributes of one tag, so without a duplicate.
    struct TagShape {
        std::size_t count = 0;
        std::string leads;
        std::array<std::uint16_t, kMaxAttributes> leadEnd{};   // of each lead in leads
        std::array<std::uint8_t, kMaxAttributes> nameAt{};     // where its name begins in the lead
        std::array<std::uint8_t, kMaxAttributes> localAt{};    // where its local name begins
        std::array<std::uint8_t, kMaxAttributes> nameEndAt{};  // where its name ends
    };
    static constexpr std::size_t kShapes = 64;
    // Keeps the shape of the tag just scanned, whose name ends at nameEnd, from its attributes
    // while their values still lie in the bytes.
    void keepShape(TagShape& shape, const char* nameEnd, std::size_t count);
    // Sets of four names by the hash of their first eight bytes, which names that begin alike
    // share ("office:value", "office:value-type").
    static constexpr unsigned kSetBits = 4;
    static constexpr std::size_t kWays = 4;

    TableReader& reader_;
    std::array<KnownName, (std::size_t{1} << kSetBits) * kWays> known_;
    std::size_t nextWay_ = 0;
    // The name of the last element around plain text (mostly text:p), too short for known_.
    std::string textName_;
    std::size_t textLocal_ = 0;
    // The attributes of the tag being scanned, kept here so that no tag pays for clearing them.
    std::array<MarkupAttribute, kMaxAttributes> attributes_;
    std::array<const KnownName*, kMaxAttributes> attributeNames_{};
    // Where a value with references or non-ASCII text lies decoded in decoded_; kRaw for a value
    // taken as it stands.
    static constexpr std::size_t kRaw = SIZE_MAX;
    std::array<std::size_t, kMaxAttributes> decodedAt_{};
    std::array<std::size_t, kMaxAttributes> decodedSize_{};
    std::array<TagShape, kShapes> shapes_;  // by place among siblings
    std::vector<std::size_t> siblings_;     // start tags met at each depth, under the open element
    std::vector<std::string> open_;         // qualified names of the open elements
    std::vector<std::size_t> openLocal_;    // where their local names start
    std::size_t depth_ = 0;
    std::string decoded_;  // decoded text, or decoded attribute values of one tag
    bool reachedEnd_ = false;
};

}  // namespace tabulon::workbook::ods

// The checks and decoding of XML character data that the hand-written markup scanners share, so
// that they accept and decode text as an XML parser does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon::workbook::xml {

// A character that XML documents may hold.
bool isXmlChar(std::uint32_t cp);

// The length of the UTF-8 sequence at p (lead byte 0x80 or above), or 0 when it is not a
// well-formed encoding of an XML character.
std::size_t utf8Length(const unsigned char* p, const unsigned char* end);

// Decodes the reference that starts at p ('&') within [p, end), appending its character: one of
// the five predefined entities or a character reference to an XML character. Returns the position
// after the ';', or nullptr for anything else.
const char* decodeReference(const char* p, const char* end, std::string& out);

// Appends character data as an XML parser reports it: references replaced, line ends made LF.
// False when it holds what XML forbids in character data (control characters, "]]>", malformed
// UTF-8, unknown references), or a reference these scanners leave to the parser.
bool decodeCharacterData(std::string_view text, std::string& out);

}  // namespace tabulon::workbook::xml

// Turning UTF-16 text into UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tabulon {

// Appends one code point as UTF-8.
void appendCodePoint(std::string& out, char32_t c);

// Appends UTF-16 code units as UTF-8, surrogate pairs joined; unpaired surrogates become U+FFFD.
void appendUtf16(std::string& out, std::u16string_view units);

// The UTF-8 form of UTF-16 bytes in the given byte order (an odd last byte is ignored).
std::string utf16BytesToUtf8(std::string_view bytes, bool littleEndian);

}  // namespace tabulon

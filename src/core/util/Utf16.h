// UTF-16 text into UTF-8, and UTF-8 into code points.
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

// The code points of UTF-8 text; a byte that starts no valid sequence stands for itself, moved
// into the range U+DC80..U+DCFF so that it can equal no real character.
std::u32string decodeUtf8(std::string_view text);

}  // namespace tabulon

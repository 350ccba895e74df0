// Byte strings as the decryption code passes them around, and the little-endian helpers it needs.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::workbook::crypto {

using Bytes = std::vector<unsigned char>;
using ByteView = std::span<const unsigned char>;

inline Bytes concat(ByteView a, ByteView b) {
    Bytes out(a.begin(), a.end());
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

inline Bytes littleEndian32(std::uint32_t value) {
    return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

// The password as UTF-16LE code units, the form every Office scheme hashes. Invalid UTF-8
// bytes are taken as Latin-1 characters.
Bytes utf16le(const std::string& utf8);

// The bytes of base64 text, or nothing when it is not valid base64.
std::optional<Bytes> decodeBase64(std::string_view text);

// The count that decimal text in an encryption description gives; nothing when the text is
// missing, empty or not all digits. A count past 64 bits gives the largest value, so that each
// count is compared with its limit in its full width before it is narrowed.
std::optional<std::uint64_t> decimalCount(const char* text);

// Constant-time comparison of the first n bytes of two buffers.
bool sameBytes(const unsigned char* a, const unsigned char* b, std::size_t n);

}  // namespace tabulon::workbook::crypto

// XOR obfuscation of .xls files (BIFF5, and BIFF8 written for compatibility): the 16-bit key and
// verifier of a password and the 16-byte array that the record data is XORed with.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/workbook/crypto/Bytes.h"

namespace tabulon::workbook::xls {

// The password as the single bytes the obfuscation works on: each UTF-16 unit's low byte, or
// its high byte when the low one is zero; at most 15.
crypto::Bytes xorPasswordBytes(const std::string& utf8);

std::uint16_t xorKey(crypto::ByteView password);
std::uint16_t xorVerifier(crypto::ByteView password);
std::array<unsigned char, 16> xorArray(crypto::ByteView password);

// Undoes the obfuscation of one byte: XOR with the array at the index, then rotate right by 5.
inline unsigned char xorDecrypt(unsigned char value, unsigned char key) {
    const unsigned v = static_cast<unsigned char>(value ^ key);
    return static_cast<unsigned char>((v >> 5) | (v << 3));
}

}  // namespace tabulon::workbook::xls

// Decrypting an encrypted BIFF5 or BIFF8 workbook stream (a FILEPASS record in its globals) in
// place: RC4, RC4 CryptoAPI and XOR obfuscation.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/workbook/PasswordSource.h"
#include "core/workbook/crypto/Bytes.h"

namespace tabulon::workbook::xls {

// The RC4 key of one 1024-byte block of an RC4 (version 1.1) stream.
crypto::Bytes rc4BlockKey(const std::string& password, crypto::ByteView salt, std::uint32_t block);
// The RC4 key of one 1024-byte block of an RC4 CryptoAPI stream; a 40-bit key is padded with
// zeros to 128 bits.
crypto::Bytes rc4CryptoApiBlockKey(const std::string& password, crypto::ByteView salt,
                                   std::uint32_t keyBits, std::uint32_t block);

// When the stream's globals carry a FILEPASS record, tries the default password and then those
// of the source, and decrypts every record after FILEPASS in place (record headers, and the
// records that are never encrypted, stay as they are). Returns false for a stream that is not
// encrypted. Throws ReadError: PasswordProtected, PasswordIncorrect, UnsupportedFormat for an
// unknown scheme, DamagedRecords for a damaged FILEPASS record.
bool decryptBiffStream(const std::string& path, std::span<unsigned char> stream,
                       PasswordSource* passwords);

}  // namespace tabulon::workbook::xls

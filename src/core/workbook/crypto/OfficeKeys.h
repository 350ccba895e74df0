// Keys from passwords for encrypted OOXML packages: standard and agile encryption, with the
// password check and the agile data-integrity check.
#pragma once

#include <optional>
#include <string>

#include "core/workbook/crypto/EncryptionInfo.h"

namespace tabulon::workbook::crypto {

// The salted, spun password hash: H(salt + password), then spinCount rounds of H(i + previous).
Bytes spunPasswordHash(HashAlgorithm hash, ByteView salt, const std::string& password,
                       std::uint32_t spinCount);

// The AES key of standard encryption, or nothing when the password is wrong.
std::optional<Bytes> standardKey(const StandardEncryption& info, const std::string& password);

// The package key of agile encryption, or nothing when the password is wrong.
std::optional<Bytes> agileKey(const AgileEncryption& info, const std::string& password);

// The initialisation vector of agile data: H(keyData salt + blockKey), cut or padded with 0x36 to
// the block size.
Bytes agileIv(const AgileKeyParameters& keyData, ByteView blockKey);

// True when the HMAC over the whole EncryptedPackage stream is the one that the description
// carries, encrypted with the package key.
bool agileIntegrityHolds(const AgileEncryption& info, ByteView packageKey,
                         ByteView encryptedPackage);

}  // namespace tabulon::workbook::crypto

// The encryption data that an OpenDocument manifest gives for each encrypted part.
#pragma once

#include <map>
#include <string>

#include "core/workbook/ZipArchive.h"
#include "core/workbook/crypto/Bytes.h"
#include "core/workbook/crypto/Hashing.h"

namespace tabulon::workbook::crypto {

enum class OdfCipher { Aes256Cbc, BlowfishCfb };

struct OdfEncryptedPart {
    OdfCipher cipher = OdfCipher::Aes256Cbc;
    Bytes iv;
    HashAlgorithm startKeyHash = HashAlgorithm::Sha1;  // of the password's UTF-8 bytes
    std::size_t keySize = 16;
    std::uint32_t iterations = 0;  // of PBKDF2 with HMAC-SHA1
    Bytes salt;
    HashAlgorithm checksumHash = HashAlgorithm::Sha1;  // over the first 1024 decrypted bytes
    Bytes checksum;
    std::uint64_t size = 0;  // of the entry once decrypted and inflated
};

// The encrypted parts by full path. Throws ReadError: DamagedXml for a bad manifest,
// DamagedContainer for bad encryption data, UnsupportedFormat for an algorithm not handled.
std::map<std::string, OdfEncryptedPart> readOdfManifest(ZipArchive& archive);

}  // namespace tabulon::workbook::crypto

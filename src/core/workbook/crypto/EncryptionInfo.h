// The description of how an OOXML package (and an RC4 CryptoAPI .xls) was encrypted: the
// standard binary header and verifier, or the agile XML description.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <variant>

#include "core/workbook/crypto/Bytes.h"
#include "core/workbook/crypto/Hashing.h"

namespace tabulon::workbook::crypto {

// A description that cannot be followed; what() says what is wrong with it.
class BadEncryptionInfo : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A description whose XML does not parse; what() is the parser's message.
class BadEncryptionXml : public BadEncryptionInfo {
  public:
    using BadEncryptionInfo::BadEncryptionInfo;
};

// An encryption scheme that is understood but not handled; what() names it.
class UnsupportedEncryption : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::uint32_t kAlgorithmRc4 = 0x6801;
inline constexpr std::uint32_t kAlgorithmAes128 = 0x660E;
inline constexpr std::uint32_t kAlgorithmAes192 = 0x660F;
inline constexpr std::uint32_t kAlgorithmAes256 = 0x6610;

// Binary header and verifier: standard encryption (AES) and RC4 CryptoAPI.
struct StandardEncryption {
    std::uint32_t algorithm = 0;
    std::uint32_t keyBits = 0;
    Bytes salt;
    Bytes encryptedVerifier;      // 16 bytes
    Bytes encryptedVerifierHash;  // 32 bytes for AES, 20 for RC4
};

// One set of key parameters of the agile description.
struct AgileKeyParameters {
    Bytes salt;
    std::size_t blockSize = 16;
    std::size_t keyBits = 0;
    std::size_t hashSize = 0;
    HashAlgorithm hash = HashAlgorithm::Sha1;
};

struct AgileEncryption {
    AgileKeyParameters keyData;  // how the package itself is encrypted
    Bytes encryptedHmacKey;
    Bytes encryptedHmacValue;
    AgileKeyParameters passwordKey;  // how the package key is wrapped with the password
    std::uint32_t spinCount = 0;
    Bytes encryptedVerifierHashInput;
    Bytes encryptedVerifierHashValue;
    Bytes encryptedKeyValue;
};

using EncryptionInfo = std::variant<StandardEncryption, AgileEncryption>;

// Parses an EncryptionInfo stream. Throws BadEncryptionInfo (BadEncryptionXml for an agile
// description that is not sound XML) or UnsupportedEncryption.
EncryptionInfo parseEncryptionInfo(ByteView stream);

// Parses what follows the version in a standard description: flags, header size, header and
// verifier (also the layout of an RC4 CryptoAPI FILEPASS record). Throws BadEncryptionInfo.
StandardEncryption parseStandardEncryption(ByteView body);

}  // namespace tabulon::workbook::crypto

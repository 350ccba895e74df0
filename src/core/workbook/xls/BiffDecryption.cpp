// RC4 and RC4 CryptoAPI decryption of BIFF8 records.
#include "core/workbook/xls/BiffDecryption.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "core/workbook/ReadError.h"
#include "core/workbook/crypto/Ciphers.h"
#include "core/workbook/crypto/EncryptionInfo.h"
#include "core/workbook/crypto/Hashing.h"
#include "core/workbook/xls/BiffRecords.h"
#include "core/workbook/xls/XorObfuscation.h"

namespace tabulon::workbook::xls {

// The ciphers, hashes and byte helpers of the encrypted formats.
using namespace crypto;

namespace {

constexpr std::size_t kBlockSize = 1024;

using BlockKey = std::function<Bytes(std::uint32_t block)>;

std::uint16_t u16At(std::span<const unsigned char> s, std::size_t at) {
    return static_cast<std::uint16_t>(s[at] | (s[at + 1] << 8));
}

// Records whose data is never encrypted.
bool staysPlain(std::uint16_t type) {
    switch (type) {
        case xls::record::kBof:
        case xls::record::kFilePass:
        case 0x0194:  // UsrExcl
        case 0x0195:  // FileLock
        case 0x00E1:  // InterfaceHdr
        case 0x0196:  // RRDInfo
        case 0x0138:  // RRDHead
            return true;
        default:
            return false;
    }
}

// The data of the FILEPASS record in the globals, with its offset, if there is one.
std::optional<std::pair<std::size_t, std::size_t>> findFilePass(std::span<const unsigned char> s) {
    for (std::size_t at = 0; at + 4 <= s.size();) {
        const std::uint16_t type = u16At(s, at);
        const std::size_t size = u16At(s, at + 2);
        if (type == xls::record::kFilePass) return std::make_pair(at + 4, size);
        if (type == xls::record::kEof) break;
        at += 4 + size;
    }
    return std::nullopt;
}

// True when the verifier, decrypted with the block-0 key, hashes to the decrypted verifier hash.
bool verifies(const Bytes& key0, HashAlgorithm hash, ByteView verifier, ByteView verifierHash) {
    Rc4 rc4(key0);
    Bytes plainVerifier(verifier.begin(), verifier.end());
    Bytes plainHash(verifierHash.begin(), verifierHash.end());
    rc4.apply(plainVerifier.data(), plainVerifier.size());
    rc4.apply(plainHash.data(), plainHash.size());
    const Bytes expected = hashOf(hash, plainVerifier);
    return plainHash.size() == expected.size() &&
           sameBytes(expected.data(), plainHash.data(), expected.size());
}

// The keystream of the stream, one block key per 1024 bytes counted from the stream's start.
class Keystream {
  public:
    explicit Keystream(BlockKey key) : key_(std::move(key)) {}
    void apply(std::size_t offset, unsigned char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i, ++offset) {
            if (offset / kBlockSize != block_) load(offset / kBlockSize);
            data[i] ^= bytes_[offset % kBlockSize];
        }
    }

  private:
    void load(std::size_t block) {
        bytes_.fill(0);
        Rc4(key_(static_cast<std::uint32_t>(block))).apply(bytes_.data(), bytes_.size());
        block_ = block;
    }
    BlockKey key_;
    std::size_t block_ = SIZE_MAX;
    std::array<unsigned char, kBlockSize> bytes_{};
};

[[noreturn]] void fail(ReadErrorKind kind, const std::string& path, std::string detail = {}) {
    throw ReadError(kind, placeInFile(path), std::move(detail));
}

// Decrypts size bytes at the stream offset, in a record whose data is recordSize bytes long.
using RecordDecryption = std::function<void(std::size_t offset, unsigned char* data,
                                            std::size_t size, std::size_t recordSize)>;

// How the FILEPASS record says the stream is encrypted: for a password, the decryption of the
// records when the password is right, nothing when it is wrong.
using Scheme = std::function<std::optional<RecordDecryption>(const std::string& password)>;

Scheme rc4Scheme(std::function<BlockKey(const std::string&)> keysOf, HashAlgorithm hash,
                 Bytes verifier, Bytes verifierHash) {
    return [=](const std::string& password) -> std::optional<RecordDecryption> {
        BlockKey keys = keysOf(password);
        if (!verifies(keys(0), hash, verifier, verifierHash)) return std::nullopt;
        auto keystream = std::make_shared<Keystream>(std::move(keys));
        return [keystream](std::size_t offset, unsigned char* data, std::size_t size, std::size_t) {
            keystream->apply(offset, data, size);
        };
    };
}

// XOR obfuscation: the key and verifier of the password must both match. The array index of a
// record's first data byte is its stream offset plus the record's size.
Scheme xorScheme(std::uint16_t key, std::uint16_t verifier) {
    return [=](const std::string& password) -> std::optional<RecordDecryption> {
        const Bytes bytes = xorPasswordBytes(password);
        if (xorKey(bytes) != key || xorVerifier(bytes) != verifier) return std::nullopt;
        const auto array = xorArray(bytes);
        return [array](std::size_t offset, unsigned char* data, std::size_t size,
                       std::size_t recordSize) {
            for (std::size_t i = 0; i < size; ++i)
                data[i] = xorDecrypt(data[i], array[(offset + i + recordSize) % 16]);
        };
    };
}

Scheme schemeOf(const std::string& path, ByteView filePass) {
    const auto cutShort = [&] {
        fail(ReadErrorKind::DamagedRecords, path, "its FILEPASS record is cut short");
    };
    // BIFF5 knows only XOR obfuscation: the key and the verifier.
    if (filePass.size() == 4) return xorScheme(u16At(filePass, 0), u16At(filePass, 2));
    if (filePass.size() < 6) cutShort();
    const std::uint16_t type = u16At(filePass, 0);
    if (type == 0) return xorScheme(u16At(filePass, 2), u16At(filePass, 4));
    if (type != 1)
        fail(ReadErrorKind::DamagedRecords, path, "its FILEPASS record names an unknown scheme");
    const std::uint16_t major = u16At(filePass, 2);
    const std::uint16_t minor = u16At(filePass, 4);
    const ByteView body = filePass.subspan(6);
    if (major == 1 && minor == 1) {
        if (body.size() < 48) cutShort();
        const Bytes salt(body.begin(), body.begin() + 16);
        return rc4Scheme(
            [salt](const std::string& password) -> BlockKey {
                return [=](std::uint32_t block) { return rc4BlockKey(password, salt, block); };
            },
            HashAlgorithm::Md5, Bytes(body.begin() + 16, body.begin() + 32),
            Bytes(body.begin() + 32, body.begin() + 48));
    }
    if ((major == 2 || major == 3 || major == 4) && minor == 2) {
        StandardEncryption info;
        try {
            info = parseStandardEncryption(body);
        } catch (const BadEncryptionInfo& e) {
            fail(ReadErrorKind::DamagedRecords, path, e.what());
        }
        if (info.algorithm != kAlgorithmRc4)
            fail(ReadErrorKind::UnsupportedFormat, path, "CryptoAPI encryption other than RC4");
        return rc4Scheme(
            [info](const std::string& password) -> BlockKey {
                return [=](std::uint32_t block) {
                    return rc4CryptoApiBlockKey(password, info.salt, info.keyBits, block);
                };
            },
            HashAlgorithm::Sha1, info.encryptedVerifier, info.encryptedVerifierHash);
    }
    fail(ReadErrorKind::UnsupportedFormat, path,
         "RC4 encryption version " + std::to_string(major) + "." + std::to_string(minor));
}

void decryptRecords(std::span<unsigned char> s, std::size_t from, const RecordDecryption& decrypt) {
    for (std::size_t at = from; at + 4 <= s.size();) {
        const std::uint16_t type = u16At(s, at);
        const std::size_t size = std::min<std::size_t>(u16At(s, at + 2), s.size() - at - 4);
        std::size_t start = at + 4;
        if (type == xls::record::kBoundSheet)
            start += std::min<std::size_t>(4, size);  // its stream position
        if (!staysPlain(type)) decrypt(start, s.data() + start, at + 4 + size - start, size);
        at += 4 + size;
    }
}

}  // namespace

Bytes rc4BlockKey(const std::string& password, ByteView salt, std::uint32_t block) {
    Bytes truncated = hashOf(HashAlgorithm::Md5, utf16le(password));
    truncated.resize(5);
    Hasher md5(HashAlgorithm::Md5);
    for (int i = 0; i < 16; ++i) md5.add(truncated).add(salt);
    Bytes intermediate = md5.finish();
    intermediate.resize(5);
    return hashOf(HashAlgorithm::Md5, intermediate, littleEndian32(block));
}

Bytes rc4CryptoApiBlockKey(const std::string& password, ByteView salt, std::uint32_t keyBits,
                           std::uint32_t block) {
    const Bytes h0 = hashOf(HashAlgorithm::Sha1, salt, utf16le(password));
    Bytes key = hashOf(HashAlgorithm::Sha1, h0, littleEndian32(block));
    key.resize(keyBits / 8);
    if (keyBits == 40) key.resize(16, 0);
    return key;
}

bool decryptBiffStream(const std::string& path, std::span<unsigned char> stream,
                       PasswordSource* passwords) {
    const auto filePass = findFilePass(stream);
    if (!filePass) return false;
    const auto [offset, size] = *filePass;
    if (offset + size > stream.size())
        fail(ReadErrorKind::DamagedRecords, path, "its FILEPASS record is cut short");
    const Scheme scheme = schemeOf(path, stream.subspan(offset, size));
    RecordDecryption decrypt;
    unlockWorkbook(path, passwords, true, [&](const std::string& password) {
        auto found = scheme(password);
        if (found) decrypt = std::move(*found);
        return found.has_value();
    });
    decryptRecords(stream, offset + size, decrypt);
    return true;
}

}  // namespace tabulon::workbook::xls

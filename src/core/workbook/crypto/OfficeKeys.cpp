// Password key derivation of ECMA-376 standard and agile encryption.
#include "core/workbook/crypto/OfficeKeys.h"

#include "core/workbook/crypto/Ciphers.h"

namespace tabulon::workbook::crypto {

namespace {

constexpr std::uint32_t kStandardSpinCount = 50'000;

constexpr unsigned char kVerifierInputBlock[] = {0xfe, 0xa7, 0xd2, 0x76, 0x3b, 0x4b, 0x9e, 0x79};
constexpr unsigned char kVerifierValueBlock[] = {0xd7, 0xaa, 0x0f, 0x6d, 0x30, 0x61, 0x34, 0x4e};
constexpr unsigned char kKeyValueBlock[] = {0x14, 0x6e, 0x0b, 0xe7, 0xab, 0xac, 0xd0, 0xd6};
constexpr unsigned char kIntegrityKeyBlock[] = {0x5f, 0xb2, 0xad, 0x01, 0x0c, 0xb9, 0xe1, 0xf6};
constexpr unsigned char kIntegrityValueBlock[] = {0xa0, 0x67, 0x7f, 0x02, 0xb2, 0x2c, 0x84, 0x33};

Bytes fitted(Bytes bytes, std::size_t size) {
    bytes.resize(size, 0x36);
    return bytes;
}

// CBC decryption of a copy; the data is padded with zeros to whole blocks.
Bytes decryptedCopy(ByteView key, ByteView iv, ByteView data) {
    Bytes out(data.begin(), data.end());
    out.resize((out.size() + 15) / 16 * 16, 0);
    AesDecryptor(key).decryptCbc(iv, out.data(), out.size());
    return out;
}

}  // namespace

Bytes spunPasswordHash(HashAlgorithm hash, ByteView salt, const std::string& password,
                       std::uint32_t spinCount) {
    Hasher hasher(hash);
    // Each round hashes its number and the previous hash, kept side by side in one buffer, so
    // that millions of rounds allocate nothing.
    Bytes round(4 + digestSize(hash));
    hasher.add(salt).add(utf16le(password)).finishInto(round.data() + 4);
    for (std::uint32_t i = 0; i < spinCount; ++i) {
        round[0] = static_cast<unsigned char>(i);
        round[1] = static_cast<unsigned char>(i >> 8);
        round[2] = static_cast<unsigned char>(i >> 16);
        round[3] = static_cast<unsigned char>(i >> 24);
        hasher.add(round).finishInto(round.data() + 4);
    }
    return Bytes(round.begin() + 4, round.end());
}

std::optional<Bytes> standardKey(const StandardEncryption& info, const std::string& password) {
    const Bytes h = spunPasswordHash(HashAlgorithm::Sha1, info.salt, password, kStandardSpinCount);
    const Bytes final = hashOf(HashAlgorithm::Sha1, h, littleEndian32(0));
    Bytes inner(64, 0x36);
    Bytes outer(64, 0x5c);
    for (std::size_t i = 0; i < final.size(); ++i) {
        inner[i] ^= final[i];
        outer[i] ^= final[i];
    }
    Bytes key = concat(hashOf(HashAlgorithm::Sha1, inner), hashOf(HashAlgorithm::Sha1, outer));
    key.resize(info.keyBits / 8);

    const AesDecryptor aes(key);
    Bytes verifier = info.encryptedVerifier;
    aes.decryptEcb(verifier.data(), verifier.size());
    Bytes verifierHash = info.encryptedVerifierHash;
    aes.decryptEcb(verifierHash.data(), verifierHash.size());
    const Bytes expected = hashOf(HashAlgorithm::Sha1, verifier);
    if (!sameBytes(expected.data(), verifierHash.data(), expected.size())) return std::nullopt;
    return key;
}

std::optional<Bytes> agileKey(const AgileEncryption& info, const std::string& password) {
    const AgileKeyParameters& p = info.passwordKey;
    const Bytes h = spunPasswordHash(p.hash, p.salt, password, info.spinCount);
    const auto keyFor = [&](ByteView block) {
        return fitted(hashOf(p.hash, h, block), p.keyBits / 8);
    };
    const Bytes iv = fitted(p.salt, p.blockSize);
    Bytes input = decryptedCopy(keyFor(kVerifierInputBlock), iv, info.encryptedVerifierHashInput);
    input.resize(p.salt.size());
    const Bytes value =
        decryptedCopy(keyFor(kVerifierValueBlock), iv, info.encryptedVerifierHashValue);
    const Bytes expected = hashOf(p.hash, input);
    if (value.size() < p.hashSize || !sameBytes(expected.data(), value.data(), p.hashSize))
        return std::nullopt;
    Bytes key = decryptedCopy(keyFor(kKeyValueBlock), iv, info.encryptedKeyValue);
    if (key.size() < info.keyData.keyBits / 8) return std::nullopt;
    key.resize(info.keyData.keyBits / 8);
    return key;
}

Bytes agileIv(const AgileKeyParameters& keyData, ByteView blockKey) {
    return fitted(hashOf(keyData.hash, keyData.salt, blockKey), keyData.blockSize);
}

bool agileIntegrityHolds(const AgileEncryption& info, ByteView packageKey,
                         ByteView encryptedPackage) {
    const AgileKeyParameters& d = info.keyData;
    Bytes hmacKey =
        decryptedCopy(packageKey, agileIv(d, kIntegrityKeyBlock), info.encryptedHmacKey);
    Bytes expected =
        decryptedCopy(packageKey, agileIv(d, kIntegrityValueBlock), info.encryptedHmacValue);
    if (hmacKey.size() < d.hashSize || expected.size() < d.hashSize) return false;
    hmacKey.resize(d.hashSize);
    const Bytes actual = Hmac(d.hash, hmacKey).add(encryptedPackage).finish();
    return sameBytes(actual.data(), expected.data(), d.hashSize);
}

}  // namespace tabulon::workbook::crypto

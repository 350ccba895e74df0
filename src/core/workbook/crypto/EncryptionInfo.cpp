// Parsing the binary and XML encryption descriptions.
#include "core/workbook/crypto/EncryptionInfo.h"

#include <string>
#include <string_view>

#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::crypto {

namespace {

constexpr std::uint64_t kMaxSpinCount = 10'000'000;
// The salt sizes that the encryption description allows.
constexpr std::size_t kMaxSaltSize = 65'536;

class Reader {
  public:
    explicit Reader(ByteView data) : data_(data) {}
    std::uint32_t u32() {
        const ByteView b = take(4);
        return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
    }
    std::uint16_t u16() {
        const ByteView b = take(2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    ByteView take(std::size_t n) {
        if (n > data_.size() - offset_)
            throw BadEncryptionInfo("its encryption header is cut short");
        const ByteView out = data_.subspan(offset_, n);
        offset_ += n;
        return out;
    }
    ByteView rest() { return take(data_.size() - offset_); }

  private:
    ByteView data_;
    std::size_t offset_ = 0;
};

Bytes copyOf(ByteView view) { return Bytes(view.begin(), view.end()); }

Bytes base64(const char* text, const char* what) {
    if (text == nullptr) throw BadEncryptionInfo(std::string("its encryption lacks ") + what);
    auto bytes = decodeBase64(text);
    if (!bytes) throw BadEncryptionInfo(std::string("its encryption has a bad ") + what);
    return std::move(*bytes);
}

// The count in full width; callers compare it with its limit before they narrow it.
std::uint64_t number(const char* text, const char* what) {
    const auto value = decimalCount(text);
    if (!value) throw BadEncryptionInfo(std::string("its encryption has a bad ") + what);
    return *value;
}

AgileKeyParameters keyParameters(const xml::XmlAttributes& a) {
    const char* cipher = a.find("cipherAlgorithm");
    const char* chaining = a.find("cipherChaining");
    if (cipher == nullptr || std::string_view(cipher) != "AES")
        throw UnsupportedEncryption(std::string("agile encryption with the ") +
                                    (cipher ? cipher : "unnamed") + " cipher");
    if (chaining == nullptr || std::string_view(chaining) != "ChainingModeCBC")
        throw UnsupportedEncryption("agile encryption in a chaining mode other than CBC");
    AgileKeyParameters p;
    p.salt = base64(a.find("saltValue"), "salt");
    const std::uint64_t blockSize = number(a.find("blockSize"), "block size");
    const std::uint64_t keyBits = number(a.find("keyBits"), "key size");
    const std::uint64_t hashSize = number(a.find("hashSize"), "hash size");
    const char* hashName = a.find("hashAlgorithm");
    const auto hash = hashAlgorithmNamed(hashName ? hashName : "");
    if (!hash || *hash == HashAlgorithm::Md5)
        throw UnsupportedEncryption(std::string("agile encryption with the ") +
                                    (hashName ? hashName : "unnamed") + " hash");
    p.hash = *hash;
    if (blockSize != 16 || (keyBits != 128 && keyBits != 192 && keyBits != 256) || hashSize == 0 ||
        hashSize > digestSize(p.hash) || p.salt.empty() || p.salt.size() > kMaxSaltSize)
        throw BadEncryptionInfo("its encryption parameters are out of range");
    p.blockSize = static_cast<std::size_t>(blockSize);
    p.keyBits = static_cast<std::size_t>(keyBits);
    p.hashSize = static_cast<std::size_t>(hashSize);
    return p;
}

class AgileHandler : public xml::XmlHandler {
  public:
    void startElement(std::string_view name, const xml::XmlAttributes& a) override {
        if (name == "keyData") {
            info.keyData = keyParameters(a);
            seen |= 1;
        } else if (name == "dataIntegrity") {
            info.encryptedHmacKey = base64(a.find("encryptedHmacKey"), "integrity key");
            info.encryptedHmacValue = base64(a.find("encryptedHmacValue"), "integrity value");
            seen |= 2;
        } else if (name == "encryptedKey" && a.find("encryptedKeyValue") != nullptr &&
                   (seen & 4) == 0) {
            // The password key encryptor; a certificate one carries no spin count.
            if (a.find("spinCount") == nullptr) return;
            info.passwordKey = keyParameters(a);
            const std::uint64_t spinCount = number(a.find("spinCount"), "spin count");
            if (spinCount > kMaxSpinCount)
                throw BadEncryptionInfo("its encryption asks for too many hash rounds");
            info.spinCount = static_cast<std::uint32_t>(spinCount);
            info.encryptedVerifierHashInput =
                base64(a.find("encryptedVerifierHashInput"), "verifier");
            info.encryptedVerifierHashValue =
                base64(a.find("encryptedVerifierHashValue"), "verifier hash");
            info.encryptedKeyValue = base64(a.find("encryptedKeyValue"), "key");
            seen |= 4;
        }
    }
    void endElement(std::string_view) override {}
    void characters(std::string_view) override {}

    AgileEncryption info;
    int seen = 0;
};

AgileEncryption parseAgile(ByteView xml) {
    AgileHandler handler;
    xml::XmlStream stream(handler);
    if (!stream.feed(reinterpret_cast<const char*>(xml.data()), xml.size(), true))
        throw BadEncryptionXml(stream.error());
    if ((handler.seen & 1) == 0 || (handler.seen & 4) == 0)
        throw BadEncryptionInfo("its encryption description lacks its password key");
    if ((handler.seen & 2) == 0)
        throw BadEncryptionInfo("its encryption description lacks its integrity check");
    return std::move(handler.info);
}

}  // namespace

StandardEncryption parseStandardEncryption(ByteView body) {
    Reader reader(body);
    reader.u32();  // flags, repeated in the header
    const std::uint32_t headerSize = reader.u32();
    if (headerSize < 32 || headerSize > 4096)
        throw BadEncryptionInfo("its encryption header has a bad size");
    Reader header(reader.take(headerSize));
    header.u32();  // flags
    header.u32();  // extra size
    StandardEncryption info;
    info.algorithm = header.u32();
    header.u32();  // hash algorithm: always SHA-1
    info.keyBits = header.u32();
    const std::uint32_t saltSize = reader.u32();
    if (saltSize != 16) throw BadEncryptionInfo("its encryption verifier has a bad salt size");
    info.salt = copyOf(reader.take(saltSize));
    info.encryptedVerifier = copyOf(reader.take(16));
    reader.u32();  // verifier hash size: 20
    const bool rc4 = info.algorithm == kAlgorithmRc4;
    info.encryptedVerifierHash = copyOf(reader.take(rc4 ? 20 : 32));
    if (rc4) {
        if (info.keyBits == 0) info.keyBits = 40;
        if (info.keyBits < 40 || info.keyBits > 128 || info.keyBits % 8 != 0)
            throw BadEncryptionInfo("its RC4 key size is out of range");
    } else {
        const std::uint32_t expected = info.algorithm == kAlgorithmAes128   ? 128
                                       : info.algorithm == kAlgorithmAes192 ? 192
                                       : info.algorithm == kAlgorithmAes256 ? 256
                                                                            : 0;
        if (expected == 0)
            throw UnsupportedEncryption("standard encryption with a cipher other than AES");
        if (info.keyBits != expected) throw BadEncryptionInfo("its AES key size is out of range");
    }
    return info;
}

EncryptionInfo parseEncryptionInfo(ByteView stream) {
    Reader reader(stream);
    const std::uint16_t major = reader.u16();
    const std::uint16_t minor = reader.u16();
    if (major == 4 && minor == 4) {
        reader.u32();  // reserved
        return parseAgile(reader.rest());
    }
    if ((major == 2 || major == 3 || major == 4) && minor == 2)
        return parseStandardEncryption(reader.rest());
    if ((major == 3 || major == 4) && minor == 3)
        throw UnsupportedEncryption("extensible encryption");
    throw BadEncryptionInfo("its encryption header has an unknown version");
}

}  // namespace tabulon::workbook::crypto

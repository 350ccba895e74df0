// Reading META-INF/manifest.xml for its encryption data.
#include "core/workbook/crypto/OdfManifest.h"

#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::crypto {

namespace {

constexpr std::uint64_t kMaxIterations = 10'000'000;
constexpr std::uint64_t kMaxKeySize = 56;

class ManifestHandler : public xml::XmlHandler {
  public:
    explicit ManifestHandler(const std::string& path) : path_(path) {}

    void startElement(std::string_view name, const xml::XmlAttributes& a) override {
        if (name == "file-entry") {
            const char* fullPath = a.find("full-path");
            entry_ = fullPath ? fullPath : "";
            part_ = OdfEncryptedPart{};
            const char* size = a.find("size");
            if (size) part_.size = number(size, "size");
            encrypted_ = false;
        } else if (name == "encryption-data") {
            encrypted_ = true;
            part_.checksumHash = checksumHash(a.find("checksum-type"));
            part_.checksum = base64(a.find("checksum"), "checksum");
        } else if (name == "algorithm") {
            const std::string_view algorithm = named(a.find("algorithm-name"), "cipher name");
            if (algorithm == "http://www.w3.org/2001/04/xmlenc#aes256-cbc")
                part_.cipher = OdfCipher::Aes256Cbc;
            else if (algorithm == "Blowfish CFB")
                part_.cipher = OdfCipher::BlowfishCfb;
            else
                unsupported("the " + std::string(algorithm) + " cipher");
            part_.iv = base64(a.find("initialisation-vector"), "initialisation vector");
        } else if (name == "start-key-generation") {
            const std::string_view hash =
                named(a.find("start-key-generation-name"), "start key name");
            if (hash == "http://www.w3.org/2000/09/xmldsig#sha256")
                part_.startKeyHash = HashAlgorithm::Sha256;
            else if (hash == "SHA1" || hash == "http://www.w3.org/2000/09/xmldsig#sha1")
                part_.startKeyHash = HashAlgorithm::Sha1;
            else
                unsupported("the " + std::string(hash) + " start key");
        } else if (name == "key-derivation") {
            if (named(a.find("key-derivation-name"), "key derivation name") != "PBKDF2")
                unsupported("a key derivation other than PBKDF2");
            const char* keySizeText = a.find("key-size");
            const std::uint64_t keySize = keySizeText ? number(keySizeText, "key size") : 16;
            const std::uint64_t iterations = number(a.find("iteration-count"), "iteration count");
            part_.salt = base64(a.find("salt"), "salt");
            if (iterations == 0 || iterations > kMaxIterations || keySize == 0 ||
                keySize > kMaxKeySize)
                bad("its key derivation is out of range");
            part_.keySize = static_cast<std::size_t>(keySize);
            part_.iterations = static_cast<std::uint32_t>(iterations);
        }
    }
    void endElement(std::string_view name) override {
        if (name != "file-entry" || !encrypted_) return;
        const std::size_t ivSize = part_.cipher == OdfCipher::Aes256Cbc ? 16 : 8;
        if (part_.iv.size() != ivSize || part_.salt.empty() ||
            (part_.cipher == OdfCipher::Aes256Cbc && part_.keySize != 32))
            bad("the encryption data of " + entry_ + " is incomplete");
        parts[entry_] = part_;
    }
    void characters(std::string_view) override {}

    std::map<std::string, OdfEncryptedPart> parts;

  private:
    // The name an attribute gives; a manifest without it, or with an empty one, is damaged.
    std::string_view named(const char* value, const char* what) const {
        if (value == nullptr || *value == '\0') bad(std::string("its manifest lacks a ") + what);
        return value;
    }

    [[noreturn]] void bad(const std::string& detail) const {
        throw ReadError(ReadErrorKind::DamagedContainer, {path_, "META-INF/manifest.xml", {}, {}},
                        detail);
    }
    [[noreturn]] void unsupported(const std::string& what) const {
        throw ReadError(ReadErrorKind::UnsupportedFormat, placeInFile(path_),
                        "OpenDocument encryption with " + what);
    }
    // The count in full width; callers compare it with its limit before they narrow it.
    std::uint64_t number(const char* value, const char* what) const {
        const auto n = decimalCount(value);
        if (!n) bad(std::string("its manifest has a bad ") + what);
        return *n;
    }
    Bytes base64(const char* value, const char* what) const {
        if (value == nullptr) bad(std::string("its manifest lacks a ") + what);
        auto bytes = decodeBase64(value);
        if (!bytes) bad(std::string("its manifest has a bad ") + what);
        return std::move(*bytes);
    }
    HashAlgorithm checksumHash(const char* type) const {
        const std::string_view t = named(type, "checksum type");
        if (t == "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0#sha256-1k")
            return HashAlgorithm::Sha256;
        if (t == "SHA1/1K" || t == "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0#sha1-1k")
            return HashAlgorithm::Sha1;
        unsupported("the " + std::string(t) + " checksum");
    }

    std::string path_;
    std::string entry_;
    OdfEncryptedPart part_;
    bool encrypted_ = false;
};

}  // namespace

std::map<std::string, OdfEncryptedPart> readOdfManifest(ZipArchive& archive) {
    ManifestHandler handler(archive.path());
    xml::parseXmlPart(archive, "META-INF/manifest.xml", handler);
    return std::move(handler.parts);
}

}  // namespace tabulon::workbook::crypto

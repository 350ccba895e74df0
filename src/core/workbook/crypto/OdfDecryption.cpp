// OpenDocument part decryption: AES-256-CBC or Blowfish CFB, the 1K checksum, raw inflate.
#include "core/workbook/crypto/OdfDecryption.h"

#include <nettle/blowfish.h>
#include <nettle/cfb.h>
#include <nettle/pbkdf2.h>

#include <algorithm>
#include <tuple>

#include "core/workbook/RawInflater.h"
#include "core/workbook/crypto/Ciphers.h"

namespace tabulon::workbook::crypto {

namespace {

constexpr std::size_t kChecksumSpan = 1024;

// Streaming decryption that only ever handles whole blocks until the end: CBC keeps its last
// block back for the padding, CFB its partial tail.
class PartCipher {
  public:
    PartCipher(const OdfEncryptedPart& part, ByteView key)
        : cbc_(part.cipher == OdfCipher::Aes256Cbc), iv_(part.iv) {
        if (cbc_) {
            aes_ = std::make_unique<AesDecryptor>(key);
        } else {
            blowfish_set_key(&blowfish_, key.size(), key.data());
        }
    }

    // Appends the decrypted bytes that are certain to out.
    void decrypt(const unsigned char* data, std::size_t size, Bytes& out) {
        pending_.insert(pending_.end(), data, data + size);
        const std::size_t block = cbc_ ? 16 : BLOWFISH_BLOCK_SIZE;
        std::size_t ready = pending_.size() / block * block;
        if (cbc_ && ready == pending_.size() && ready > 0) ready -= block;  // may hold padding
        run(ready, out);
    }

    // The rest; false when the padding is bad.
    bool finish(Bytes& out) {
        if (cbc_) {
            if (pending_.size() % 16 != 0) return false;
            const std::size_t before = out.size();
            run(pending_.size(), out);
            if (out.size() == before) return true;
            const unsigned pad = out.back();
            if (pad < 1 || pad > 16 || out.size() - before < pad) return false;
            out.resize(out.size() - pad);
            return true;
        }
        run(pending_.size(), out);
        return true;
    }

  private:
    void run(std::size_t size, Bytes& out) {
        if (size == 0) return;
        const std::size_t at = out.size();
        out.insert(out.end(), pending_.begin(),
                   pending_.begin() + static_cast<std::ptrdiff_t>(size));
        if (cbc_) {
            aes_->decryptCbc(iv_, out.data() + at, size);
            std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(size - 16), 16, iv_.begin());
        } else {
            Bytes plain(size);
            cfb_decrypt(&blowfish_, reinterpret_cast<nettle_cipher_func*>(blowfish_encrypt),
                        BLOWFISH_BLOCK_SIZE, iv_.data(), size, plain.data(), out.data() + at);
            std::copy(plain.begin(), plain.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
        }
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(size));
    }

    bool cbc_;
    Bytes iv_;
    std::unique_ptr<AesDecryptor> aes_;
    blowfish_ctx blowfish_{};
    Bytes pending_;
};

class OdfPartDecoder : public PartDecoder {
  public:
    OdfPartDecoder(const OdfEncryptedPart& part, ByteView key, std::string path, std::string name)
        : cipher_(part, key),
          checksumHash_(part.checksumHash),
          checksum_(part.checksum),
          path_(std::move(path)),
          name_(std::move(name)) {}

    void decode(const char* data, std::size_t size, const Sink& sink) override {
        Bytes plain;
        cipher_.decrypt(reinterpret_cast<const unsigned char*>(data), size, plain);
        take(plain, false, sink);
    }

    void finish(const Sink& sink) override {
        Bytes plain;
        if (!cipher_.finish(plain)) damaged("its decrypted data has bad padding");
        take(plain, true, sink);
        if (!inflater_.finished()) damaged("its decrypted data ends too early");
    }

  private:
    [[noreturn]] void damaged(const std::string& detail) const {
        throw ReadError(ReadErrorKind::DamagedContainer, {path_, name_, {}, {}},
                        name_ + ": " + detail);
    }

    void take(const Bytes& plain, bool last, const Sink& sink) {
        if (!checked_) {
            head_.insert(head_.end(), plain.begin(), plain.end());
            if (head_.size() < kChecksumSpan && !last) return;
            const std::size_t span = std::min(head_.size(), kChecksumSpan);
            const Bytes digest = hashOf(checksumHash_, ByteView(head_.data(), span));
            if (digest.size() != checksum_.size() ||
                !sameBytes(digest.data(), checksum_.data(), digest.size()))
                damaged("its checksum does not match");
            checked_ = true;
            inflate(head_, sink);
            head_.clear();
            return;
        }
        inflate(plain, sink);
    }

    void inflate(const Bytes& compressed, const Sink& sink) {
        if (inflater_.finished()) return;
        inflater_.setInput(compressed.data(), compressed.size());
        unsigned char buffer[64 * 1024];
        while (!inflater_.finished()) {
            const std::size_t n = inflater_.inflate(buffer, sizeof buffer);
            if (inflater_.damaged()) damaged("its compressed data is bad");
            if (n > 0) sink(reinterpret_cast<const char*>(buffer), n);
            // A full buffer may leave more to come of the input already taken.
            if (inflater_.inputLeft() == 0 && n < sizeof buffer) return;
        }
    }

    PartCipher cipher_;
    HashAlgorithm checksumHash_;
    Bytes checksum_;
    std::string path_;
    std::string name_;
    RawInflater inflater_;
    Bytes head_;
    bool checked_ = false;
};

// The keys of one password, each derived once for its derivation parameters.
class OdfKeyRing {
  public:
    explicit OdfKeyRing(std::string password) : password_(std::move(password)) {}

    const Bytes& keyFor(const OdfEncryptedPart& part) {
        const Parameters parameters{part.startKeyHash, part.keySize, part.iterations, part.salt};
        const auto found = keys_.find(parameters);
        if (found != keys_.end()) return found->second;
        return keys_.emplace(parameters, odfKey(part, password_)).first->second;
    }

  private:
    using Parameters = std::tuple<HashAlgorithm, std::size_t, std::uint32_t, Bytes>;
    std::string password_;
    std::map<Parameters, Bytes> keys_;
};

// Thrown through the archive's read once the checksum has been decided.
struct ChecksumDecided {};

// True when the key opens the entry: its first decrypted bytes give the entry's checksum (and
// an entry shorter than the checksum's span decrypts and inflates whole). Reads only as much of the
// entry as the checksum needs; a damaged archive still fails as damaged.
bool keyOpensPart(ZipArchive& archive, const std::string& name, const OdfEncryptedPart& part,
                  ByteView key) {
    const auto decoder = odfPartDecoder(part, key, archive.path(), name);
    const PartDecoder::Sink ignore = [](const char*, std::size_t) {};
    // CBC keeps its last block back, so one more block decides the checksum.
    constexpr std::size_t kDecidingBytes = kChecksumSpan + 16;
    bool opens = true;
    std::size_t fed = 0;
    try {
        archive.read(name, [&](const char* data, std::size_t size) {
            try {
                decoder->decode(data, size, ignore);
            } catch (const ReadError&) {
                opens = false;  // a wrong key fails the checksum
                throw ChecksumDecided{};
            }
            fed += size;
            if (fed >= kDecidingBytes) throw ChecksumDecided{};
        });
    } catch (const ChecksumDecided&) {
        return opens;
    }
    try {
        decoder->finish(ignore);
    } catch (const ReadError&) {
        return false;  // a wrong key fails the checksum, the padding or the inflation
    }
    return true;
}

}  // namespace

Bytes odfKey(const OdfEncryptedPart& part, const std::string& password) {
    const Bytes start =
        hashOf(part.startKeyHash,
               ByteView(reinterpret_cast<const unsigned char*>(password.data()), password.size()));
    Bytes key(part.keySize);
    pbkdf2_hmac_sha1(start.size(), start.data(), part.iterations, part.salt.size(),
                     part.salt.data(), key.size(), key.data());
    return key;
}

std::unique_ptr<PartDecoder> odfPartDecoder(const OdfEncryptedPart& part, ByteView key,
                                            const std::string& path, const std::string& name) {
    return std::make_unique<OdfPartDecoder>(part, key, path, name);
}

void unlockOdfPackage(ZipArchive& archive, const std::map<std::string, OdfEncryptedPart>& parts,
                      PasswordSource* passwords) {
    if (parts.empty()) return;
    // The password is checked on a part that is read anyway, so that its key serves twice: the
    // styles, which come before the content. A checksum that fails on the checked part cannot
    // be told from a wrong password, so the content, where damage matters most, is not it.
    auto probe = parts.find("styles.xml");
    if (probe == parts.end()) probe = parts.find("content.xml");
    if (probe == parts.end())
        probe = std::min_element(parts.begin(), parts.end(), [](const auto& a, const auto& b) {
            return a.second.size < b.second.size;
        });
    std::shared_ptr<OdfKeyRing> keys;
    unlockWorkbook(archive.path(), passwords, false, [&](const std::string& candidate) {
        auto ring = std::make_shared<OdfKeyRing>(candidate);
        if (!keyOpensPart(archive, probe->first, probe->second, ring->keyFor(probe->second)))
            return false;
        keys = std::move(ring);
        return true;
    });
    archive.setPartDecoders(
        [&archive, parts, keys](std::string_view name) -> std::unique_ptr<PartDecoder> {
            const auto found = parts.find(std::string(name));
            if (found == parts.end()) return nullptr;
            return odfPartDecoder(found->second, keys->keyFor(found->second), archive.path(),
                                  found->first);
        });
}

}  // namespace tabulon::workbook::crypto

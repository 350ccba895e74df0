// Message digests and HMAC over Nettle's hash functions, chosen by name at run time.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "core/workbook/crypto/Bytes.h"

namespace tabulon::workbook::crypto {

enum class HashAlgorithm { Md5, Sha1, Sha256, Sha384, Sha512 };

// "SHA1", "SHA-1", "SHA256", "SHA384", "SHA512" (any case), as encryption descriptions name them.
std::optional<HashAlgorithm> hashAlgorithmNamed(std::string_view name);
std::size_t digestSize(HashAlgorithm algorithm);

class Hasher {
  public:
    explicit Hasher(HashAlgorithm algorithm);
    ~Hasher();
    Hasher& add(ByteView data);
    // The digest; the hasher starts afresh afterwards.
    Bytes finish();
    // The same, written to digestSize() bytes at out (which may be where the input was).
    void finishInto(unsigned char* out);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The digest of a followed by b.
Bytes hashOf(HashAlgorithm algorithm, ByteView a, ByteView b = {});

class Hmac {
  public:
    Hmac(HashAlgorithm algorithm, ByteView key);
    ~Hmac();
    Hmac& add(ByteView data);
    Bytes finish();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tabulon::workbook::crypto

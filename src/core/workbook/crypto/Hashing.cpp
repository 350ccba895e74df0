// Nettle's generic hash interface behind one class per operation.
#include "core/workbook/crypto/Hashing.h"

#include <nettle/hmac.h>
#include <nettle/nettle-meta.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace tabulon::workbook::crypto {

namespace {

const nettle_hash& meta(HashAlgorithm algorithm) {
    switch (algorithm) {
        case HashAlgorithm::Md5:
            return nettle_md5;
        case HashAlgorithm::Sha1:
            return nettle_sha1;
        case HashAlgorithm::Sha256:
            return nettle_sha256;
        case HashAlgorithm::Sha384:
            return nettle_sha384;
        case HashAlgorithm::Sha512:
            return nettle_sha512;
    }
    return nettle_sha1;
}

}  // namespace

std::optional<HashAlgorithm> hashAlgorithmNamed(std::string_view name) {
    std::string key;
    for (char c : name)
        if (c != '-') key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (key == "SHA1") return HashAlgorithm::Sha1;
    if (key == "SHA256") return HashAlgorithm::Sha256;
    if (key == "SHA384") return HashAlgorithm::Sha384;
    if (key == "SHA512") return HashAlgorithm::Sha512;
    if (key == "MD5") return HashAlgorithm::Md5;
    return std::nullopt;
}

std::size_t digestSize(HashAlgorithm algorithm) { return meta(algorithm).digest_size; }

struct Hasher::State {
    const nettle_hash* hash;
    std::vector<unsigned char> context;
};

Hasher::Hasher(HashAlgorithm algorithm)
    : state_(new State{&meta(algorithm), Bytes(meta(algorithm).context_size)}) {
    state_->hash->init(state_->context.data());
}

Hasher::~Hasher() = default;

Hasher& Hasher::add(ByteView data) {
    state_->hash->update(state_->context.data(), data.size(), data.data());
    return *this;
}

Bytes Hasher::finish() {
    Bytes digest(state_->hash->digest_size);
    finishInto(digest.data());
    return digest;
}

void Hasher::finishInto(unsigned char* out) {
    state_->hash->digest(state_->context.data(), state_->hash->digest_size, out);
}

Bytes hashOf(HashAlgorithm algorithm, ByteView a, ByteView b) {
    return Hasher(algorithm).add(a).add(b).finish();
}

struct Hmac::State {
    const nettle_hash* hash;
    Bytes outer, inner, state;
};

Hmac::Hmac(HashAlgorithm algorithm, ByteView key) {
    const nettle_hash& hash = meta(algorithm);
    state_.reset(new State{&hash, Bytes(hash.context_size), Bytes(hash.context_size),
                           Bytes(hash.context_size)});
    hmac_set_key(state_->outer.data(), state_->inner.data(), state_->state.data(), &hash,
                 key.size(), key.data());
}

Hmac::~Hmac() = default;

Hmac& Hmac::add(ByteView data) {
    hmac_update(state_->state.data(), state_->hash, data.size(), data.data());
    return *this;
}

Bytes Hmac::finish() {
    Bytes digest(state_->hash->digest_size);
    hmac_digest(state_->outer.data(), state_->inner.data(), state_->state.data(), state_->hash,
                digest.size(), digest.data());
    return digest;
}

}  // namespace tabulon::workbook::crypto

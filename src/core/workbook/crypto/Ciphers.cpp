// AES and RC4 through Nettle.
#include "core/workbook/crypto/Ciphers.h"

#include <nettle/aes.h>
#include <nettle/arcfour.h>
#include <nettle/cbc.h>
#include <nettle/nettle-meta.h>

#include <stdexcept>

namespace tabulon::workbook::crypto {

struct AesDecryptor::State {
    const nettle_cipher* cipher;
    Bytes context;
};

AesDecryptor::AesDecryptor(ByteView key) {
    const nettle_cipher* cipher = key.size() == 16   ? &nettle_aes128
                                  : key.size() == 24 ? &nettle_aes192
                                  : key.size() == 32 ? &nettle_aes256
                                                     : nullptr;
    if (cipher == nullptr) throw std::invalid_argument("AES key of an unsupported length");
    state_.reset(new State{cipher, Bytes(cipher->context_size)});
    cipher->set_decrypt_key(state_->context.data(), key.data());
}

AesDecryptor::~AesDecryptor() = default;

void AesDecryptor::decryptEcb(unsigned char* data, std::size_t size) const {
    state_->cipher->decrypt(state_->context.data(), size, data, data);
}

void AesDecryptor::decryptCbc(ByteView iv, unsigned char* data, std::size_t size) const {
    unsigned char chain[AES_BLOCK_SIZE];
    std::memcpy(chain, iv.data(), AES_BLOCK_SIZE);
    cbc_decrypt(state_->context.data(), state_->cipher->decrypt, AES_BLOCK_SIZE, chain, size, data,
                data);
}

struct Rc4::State {
    arcfour_ctx context;
};

Rc4::Rc4(ByteView key) : state_(new State) {
    arcfour_set_key(&state_->context, key.size(), key.data());
}

Rc4::~Rc4() = default;

void Rc4::apply(unsigned char* data, std::size_t size) {
    arcfour_crypt(&state_->context, size, data, data);
}

}  // namespace tabulon::workbook::crypto

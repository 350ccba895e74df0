// The block and stream ciphers of encrypted workbooks, over Nettle.
#pragma once

#include <memory>

#include "core/workbook/crypto/Bytes.h"

namespace tabulon::workbook::crypto {

// AES decryption with a 128, 192 or 256-bit key.
class AesDecryptor {
  public:
    // Throws std::invalid_argument for any other key length.
    explicit AesDecryptor(ByteView key);
    ~AesDecryptor();
    // In place; size is a multiple of 16.
    void decryptEcb(unsigned char* data, std::size_t size) const;
    // In place with that 16-byte initialisation vector; size is a multiple of 16.
    void decryptCbc(ByteView iv, unsigned char* data, std::size_t size) const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// RC4 (Nettle's arcfour): the keystream XORed over data in place.
class Rc4 {
  public:
    explicit Rc4(ByteView key);
    ~Rc4();
    void apply(unsigned char* data, std::size_t size);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tabulon::workbook::crypto

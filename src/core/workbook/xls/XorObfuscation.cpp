// The password key, verifier and XOR array of XOR obfuscation.
#include "core/workbook/xls/XorObfuscation.h"

namespace tabulon::workbook::xls {

// The ciphers, hashes and byte helpers of the encrypted formats.
using namespace crypto;

namespace {

constexpr std::size_t kMaxLength = 15;

constexpr std::uint16_t kInitialCode[kMaxLength] = {0xE1F0, 0x1D0F, 0xCC9C, 0x84C0, 0x110C,
                                                    0x0E10, 0xF1CE, 0x313E, 0x1872, 0xE139,
                                                    0xD40F, 0x84F9, 0x280C, 0xA96A, 0x4EC3};

constexpr std::uint16_t kXorMatrix[105] = {
    0xAEFC, 0x4DD9, 0x9BB2, 0x2745, 0x4E8A, 0x9D14, 0x2A09, 0x7B61, 0xF6C2, 0xFDA5, 0xEB6B, 0xC6F7,
    0x9DCF, 0x2BBF, 0x4563, 0x8AC6, 0x05AD, 0x0B5A, 0x16B4, 0x2D68, 0x5AD0, 0x0375, 0x06EA, 0x0DD4,
    0x1BA8, 0x3750, 0x6EA0, 0xDD40, 0xD849, 0xA0B3, 0x5147, 0xA28E, 0x553D, 0xAA7A, 0x44D5, 0x6F45,
    0xDE8A, 0xAD35, 0x4A4B, 0x9496, 0x390D, 0x721A, 0xEB23, 0xC667, 0x9CEF, 0x29FF, 0x53FE, 0xA7FC,
    0x5FD9, 0x47D3, 0x8FA6, 0x0F6D, 0x1EDA, 0x3DB4, 0x7B68, 0xF6D0, 0xB861, 0x60E3, 0xC1C6, 0x93AD,
    0x377B, 0x6EF6, 0xDDEC, 0x45A0, 0x8B40, 0x06A1, 0x0D42, 0x1A84, 0x3508, 0x6A10, 0xAA51, 0x4483,
    0x8906, 0x022D, 0x045A, 0x08B4, 0x1168, 0x76B4, 0xED68, 0xCAF1, 0x85C3, 0x1BA7, 0x374E, 0x6E9C,
    0x3730, 0x6E60, 0xDCC0, 0xA9A1, 0x4363, 0x86C6, 0x1DAD, 0x3331, 0x6662, 0xCCC4, 0x89A9, 0x0373,
    0x06E6, 0x0DCC, 0x1021, 0x2042, 0x4084, 0x8108, 0x1231, 0x2462, 0x48C4};

constexpr unsigned char kPad[kMaxLength] = {0xBB, 0xFF, 0xFF, 0xBA, 0xFF, 0xFF, 0xB9, 0x80,
                                            0x00, 0xBE, 0x0F, 0x00, 0xBF, 0x0F, 0x00};

unsigned char xorRor(unsigned char a, unsigned char b) {
    const unsigned v = static_cast<unsigned char>(a ^ b);
    return static_cast<unsigned char>((v >> 1) | (v << 7));
}

}  // namespace

Bytes xorPasswordBytes(const std::string& utf8) {
    const Bytes units = utf16le(utf8);
    Bytes out;
    for (std::size_t i = 0; i + 1 < units.size() && out.size() < kMaxLength; i += 2)
        out.push_back(units[i] != 0 ? units[i] : units[i + 1]);
    return out;
}

std::uint16_t xorKey(ByteView password) {
    if (password.empty()) return 0;
    std::uint16_t key = kInitialCode[password.size() - 1];
    int element = 104;
    for (auto it = password.rbegin(); it != password.rend(); ++it) {
        unsigned char c = *it;
        for (int bit = 0; bit < 7; ++bit, --element) {
            if ((c & 0x40) != 0) key ^= kXorMatrix[element];
            c = static_cast<unsigned char>(c << 1);
        }
    }
    return key;
}

std::uint16_t xorVerifier(ByteView password) {
    std::uint16_t verifier = 0;
    const auto step = [&](unsigned char byte) {
        const std::uint16_t carry = (verifier & 0x4000) != 0 ? 1 : 0;
        verifier = static_cast<std::uint16_t>((((verifier << 1) & 0x7FFF) | carry) ^ byte);
    };
    for (auto it = password.rbegin(); it != password.rend(); ++it) step(*it);
    step(static_cast<unsigned char>(password.size()));
    return static_cast<std::uint16_t>(verifier ^ 0xCE4B);
}

std::array<unsigned char, 16> xorArray(ByteView password) {
    std::array<unsigned char, 16> out{};
    const std::uint16_t key = xorKey(password);
    const unsigned char high = static_cast<unsigned char>(key >> 8);
    const unsigned char low = static_cast<unsigned char>(key & 0xFF);
    std::size_t index = password.size();
    if (index % 2 == 1) {
        out[index] = xorRor(kPad[0], high);
        --index;
        out[index] = xorRor(password[password.size() - 1], low);
    }
    while (index > 0) {
        --index;
        out[index] = xorRor(password[index], high);
        --index;
        out[index] = xorRor(password[index], low);
    }
    // The rest is filled from the end with the pad bytes, two at a time; the count of pad bytes
    // is odd when the password's length is even, and the last pair then ends below zero.
    int at = 15;
    for (int pad = static_cast<int>(kMaxLength - password.size()); pad > 0; pad -= 2, at -= 2) {
        out[static_cast<std::size_t>(at)] = xorRor(kPad[pad], high);
        out[static_cast<std::size_t>(at - 1)] = xorRor(kPad[pad - 1], low);
    }
    return out;
}

}  // namespace tabulon::workbook::xls

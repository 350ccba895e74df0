// UTF-8 to UTF-16LE for passwords, counts of descriptions, and comparison of verifiers.
#include "core/workbook/crypto/Bytes.h"

#include <nettle/base64.h>

namespace tabulon::workbook::crypto {

namespace {

// Decodes one UTF-8 sequence at i; a malformed one yields its first byte as a Latin-1 character.
char32_t nextCodePoint(const std::string& text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const int extra = lead >= 0xF0 && lead < 0xF5   ? 3
                      : lead >= 0xE0 && lead < 0xF0 ? 2
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                                                    : 0;
    if (extra == 0 || i + static_cast<std::size_t>(extra) >= text.size()) return byte(i++);
    char32_t cp = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return byte(i++);
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

}  // namespace

Bytes utf16le(const std::string& utf8) {
    Bytes out;
    out.reserve(utf8.size() * 2);
    const auto unit = [&](std::uint32_t u) {
        out.push_back(static_cast<unsigned char>(u));
        out.push_back(static_cast<unsigned char>(u >> 8));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

std::optional<Bytes> decodeBase64(std::string_view text) {
    Bytes out(BASE64_DECODE_LENGTH(text.size()));
    base64_decode_ctx context;
    base64_decode_init(&context);
    std::size_t size = out.size();
    if (!base64_decode_update(&context, &size, out.data(), text.size(), text.data()) ||
        !base64_decode_final(&context))
        return std::nullopt;
    out.resize(size);
    return out;
}

bool sameBytes(const unsigned char* a, const unsigned char* b, std::size_t n) {
    unsigned char diff = 0;
    for (std::size_t i = 0; i < n; ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

std::optional<std::uint64_t> decimalCount(const char* text) {
    if (text == nullptr || *text == '\0') return std::nullopt;
    constexpr std::uint64_t kLargest = UINT64_MAX;
    std::uint64_t value = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(*c - '0');
        value = value > (kLargest - digit) / 10 ? kLargest : value * 10 + digit;
    }
    return value;
}

}  // namespace tabulon::workbook::crypto

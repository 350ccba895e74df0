// Decoding _xHHHH_ escapes.
#include "core/workbook/xml/EscapedText.h"

#include <cstdint>
#include <optional>

#include "core/util/Utf16.h"

namespace tabulon::workbook::xml {

namespace {

// The code unit of an escape at position i, if one starts there.
std::optional<std::uint16_t> escapeAt(const std::string& text, std::size_t i) {
    if (i + 7 > text.size() || text[i] != '_' || text[i + 1] != 'x' || text[i + 6] != '_')
        return std::nullopt;
    std::uint16_t unit = 0;
    for (std::size_t k = i + 2; k < i + 6; ++k) {
        const char c = text[k];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        unit = static_cast<std::uint16_t>(unit * 16 + digit);
    }
    return unit;
}

}  // namespace

void decodeEscapedCharacters(std::string& text) {
    if (text.find("_x") == std::string::npos) return;
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto unit = escapeAt(text, i);
        if (!unit) {
            out += text[i++];
            continue;
        }
        i += 7;
        std::uint32_t cp = *unit;
        if (cp >= 0xD800 && cp < 0xDC00) {
            const auto low = escapeAt(text, i);
            if (low && *low >= 0xDC00 && *low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (*low - 0xDC00);
                i += 7;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xDC00 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        appendCodePoint(out, cp);
    }
    text = std::move(out);
}

}  // namespace tabulon::workbook::xml

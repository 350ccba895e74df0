// Turning UTF-16 text into UTF-8.
#include "core/util/Utf16.h"

namespace tabulon {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t u) { return u >= 0xD800 && u < 0xDC00; }
bool isLowSurrogate(char32_t u) { return u >= 0xDC00 && u < 0xE000; }

template <class Unit>
void appendUnits(std::string& out, std::size_t count, Unit unit) {
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t u = unit(i);
        if (isHighSurrogate(u) && i + 1 < count && isLowSurrogate(unit(i + 1))) {
            appendCodePoint(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else if (isHighSurrogate(u) || isLowSurrogate(u)) {
            appendCodePoint(out, kReplacement);
        } else {
            appendCodePoint(out, u);
        }
    }
}

}  // namespace

void appendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendUtf16(std::string& out, std::u16string_view units) {
    appendUnits(out, units.size(), [&](std::size_t i) -> char32_t { return units[i]; });
}

std::string utf16BytesToUtf8(std::string_view bytes, bool littleEndian) {
    std::string out;
    out.reserve(bytes.size());
    appendUnits(out, bytes.size() / 2, [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return littleEndian ? (a | (char32_t{b} << 8)) : ((char32_t{a} << 8) | b);
    });
    return out;
}

std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80                   ? 1
                           : lead >= 0xF0 && lead < 0xF5 ? 4
                           : lead >= 0xE0                ? 3
                           : lead >= 0xC2 && lead < 0xE0 ? 2
                                                         : 0;
        char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (valid) {
            out += code;
            i += length;
        } else {
            out += static_cast<char32_t>(0xDC00 + lead);
            ++i;
        }
    }
    return out;
}

}  // namespace tabulon

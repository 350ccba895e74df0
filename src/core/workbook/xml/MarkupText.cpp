// Checking and decoding XML character data: UTF-8 sequences, references.
#include "core/workbook/xml/MarkupText.h"

#include <cstring>
#include <string_view>

#include "core/util/Utf16.h"

namespace tabulon::workbook::xml {

bool isXmlChar(std::uint32_t cp) {
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
           (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

std::size_t utf8Length(const unsigned char* p, const unsigned char* end) {
    auto continuation = [&](std::size_t i, unsigned char low, unsigned char high) {
        return p + i < end && p[i] >= low && p[i] <= high;
    };
    const unsigned char lead = p[0];
    if (lead >= 0xC2 && lead <= 0xDF) return continuation(1, 0x80, 0xBF) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        if (!continuation(1, low, high) || !continuation(2, 0x80, 0xBF)) return 0;
        if (lead == 0xEF && p[1] == 0xBF && p[2] >= 0xBE) return 0;  // U+FFFE and U+FFFF
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, low, high) && continuation(2, 0x80, 0xBF) &&
                       continuation(3, 0x80, 0xBF)
                   ? 4
                   : 0;
    }
    return 0;
}

const char* decodeReference(const char* p, const char* end, std::string& out) {
    const char* semicolon = static_cast<const char*>(std::memchr(p, ';', end - p));
    if (semicolon == nullptr) return nullptr;
    const std::string_view name(p + 1, semicolon - p - 1);
    if (name == "lt") {
        out += '<';
    } else if (name == "gt") {
        out += '>';
    } else if (name == "amp") {
        out += '&';
    } else if (name == "quot") {
        out += '"';
    } else if (name == "apos") {
        out += '\'';
    } else if (name.size() >= 2 && name.size() <= 9 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) return nullptr;
        std::uint32_t cp = 0;
        for (const char c : digits) {
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return nullptr;
            cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        }
        if (!isXmlChar(cp)) return nullptr;
        appendCodePoint(out, cp);
    } else {
        return nullptr;
    }
    return semicolon + 1;
}

bool decodeCharacterData(std::string_view text, std::string& out) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char c = *p;
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&') {
            p = decodeReference(p, end, out);
            if (p == nullptr) return false;
        } else if (c == '\r') {
            out += '\n';
            p += p + 1 < end && p[1] == '\n' ? 2 : 1;
        } else if (c == ']') {
            if (end - p >= 3 && p[1] == ']' && p[2] == '>') return false;
            out += c;
            ++p;
        } else if (byte >= 0x80) {
            const std::size_t n = utf8Length(reinterpret_cast<const unsigned char*>(p),
                                             reinterpret_cast<const unsigned char*>(end));
            if (n == 0) return false;
            out.append(p, n);
            p += n;
        } else if (byte >= 0x20 || c == '\t' || c == '\n') {
            if (c == '<') return false;
            out += c;
            ++p;
        } else {
            return false;  // control characters
        }
    }
    return true;
}

}  // namespace tabulon::workbook::xml

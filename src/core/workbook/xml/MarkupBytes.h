// Runs of bytes that the hand-written markup scanners pass over: names, plain attribute values
// and plain character data, sixteen bytes at a step where SSE2 is there, one at a time otherwise.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define TABULON_MARKUP_SSE2 1
#else
#define TABULON_MARKUP_SSE2 0
#endif

namespace tabulon::workbook::xml {

enum MarkupClass : std::uint8_t {
    kPlainText = 1,   // character data that needs no decoding or checking
    kNameStart = 2,   // starts an element or attribute name
    kNameChar = 4,    // continues a name, but for the colon
    kPlainValue = 8,  // attribute value character that needs no decoding or checking
    kColon = 16,
};

constexpr std::array<std::uint8_t, 256> makeMarkupClasses() {
    std::array<std::uint8_t, 256> classes{};
    for (int c = 0x20; c < 0x80; ++c)
        if (c != '<' && c != '&' && c != ']') classes[c] |= kPlainText;
    classes['\t'] |= kPlainText;
    classes['\n'] |= kPlainText;
    for (int c = 0x20; c < 0x80; ++c)
        if (c != '<' && c != '&' && c != '"' && c != '\'') classes[c] |= kPlainValue;
    for (int c = 'A'; c <= 'Z'; ++c) classes[c] |= kNameStart | kNameChar;
    for (int c = 'a'; c <= 'z'; ++c) classes[c] |= kNameStart | kNameChar;
    classes['_'] |= kNameStart | kNameChar;
    for (int c = '0'; c <= '9'; ++c) classes[c] |= kNameChar;
    for (const char c : {'.', '-'}) classes[static_cast<unsigned char>(c)] |= kNameChar;
    classes[':'] |= kColon;
    return classes;
}

inline constexpr std::array<std::uint8_t, 256> kMarkupClasses = makeMarkupClasses();

inline bool isMarkup(char c, std::uint8_t classes) {
    return (kMarkupClasses[static_cast<unsigned char>(c)] & classes) != 0;
}

#if TABULON_MARKUP_SSE2
namespace detail {

inline __m128i bytesIn(__m128i v, char low, char high) {
    return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(high + 1))));
}

inline __m128i equal(__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); }

// Bit i set: byte i is no name character (a colon counts as one when withColon).
inline unsigned notName(__m128i v, bool withColon) {
    __m128i name = _mm_or_si128(bytesIn(v, 'a', 'z'), bytesIn(v, 'A', 'Z'));
    name = _mm_or_si128(name, bytesIn(v, '0', '9'));
    name =
        _mm_or_si128(name, _mm_or_si128(equal(v, '_'), _mm_or_si128(equal(v, '-'), equal(v, '.'))));
    if (withColon) name = _mm_or_si128(name, equal(v, ':'));
    return ~static_cast<unsigned>(_mm_movemask_epi8(name)) & 0xFFFF;
}

// Bit i set: byte i is below 0x20 (or 0x80 and above, which compare as negative) or one of the
// three given bytes.
inline unsigned notPlain(__m128i v, char a, char b, char c) {
    __m128i stop = _mm_cmplt_epi8(v, _mm_set1_epi8(0x20));
    stop = _mm_or_si128(stop, _mm_or_si128(equal(v, a), _mm_or_si128(equal(v, b), equal(v, c))));
    return static_cast<unsigned>(_mm_movemask_epi8(stop));
}

inline __m128i load(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

}  // namespace detail
#endif

// The first byte from p that is no name character; with withColon, colons are name characters
// and lastColon is set to the last one in the name (left alone when there is none).
template <bool withColon>
const char* skipName(const char* p, const char* end, const char*& lastColon) {
#if TABULON_MARKUP_SSE2
    while (end - p >= 16) {
        const __m128i v = detail::load(p);
        const unsigned stop = detail::notName(v, withColon);
        const unsigned length = stop != 0 ? static_cast<unsigned>(std::countr_zero(stop)) : 16;
        if (withColon) {
            const unsigned colons =
                static_cast<unsigned>(_mm_movemask_epi8(detail::equal(v, ':'))) &
                ((1u << length) - 1);
            if (colons != 0) lastColon = p + (31 - std::countl_zero(colons));
        }
        if (stop != 0) return p + length;
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        if (withColon && *p == ':') {
            lastColon = p;
        } else if (!isMarkup(*p, kNameChar)) {
            break;
        }
    }
    return p;
}

// The first byte from p that is not plain character data (kPlainText).
inline const char* skipPlainText(const char* p, const char* end) {
#if TABULON_MARKUP_SSE2
    while (end - p >= 16) {
        const __m128i v = detail::load(p);
        // Tabs and line feeds are plain; CR is not.
        unsigned stop = detail::notPlain(v, '<', '&', ']');
        stop &= ~static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(detail::equal(v, '\t'), detail::equal(v, '\n'))));
        if (stop != 0) return p + std::countr_zero(stop);
        p += 16;
    }
#endif
    while (p < end && isMarkup(*p, kPlainText)) ++p;
    return p;
}

// The first byte from p that is not a plain attribute value character (kPlainValue).
inline const char* skipPlainValue(const char* p, const char* end) {
#if TABULON_MARKUP_SSE2
    while (end - p >= 16) {
        const unsigned stop =
            detail::notPlain(detail::load(p), '<', '&', '"') |
            static_cast<unsigned>(_mm_movemask_epi8(detail::equal(detail::load(p), '\'')));
        if (stop != 0) return p + std::countr_zero(stop);
        p += 16;
    }
#endif
    while (p < end && isMarkup(*p, kPlainValue)) ++p;
    return p;
}

// The first byte c from p, or end: inline, for the short distances between tags.
inline const char* findByte(const char* p, const char* end, char c) {
#if TABULON_MARKUP_SSE2
    const __m128i wanted = _mm_set1_epi8(c);
    while (end - p >= 16) {
        const unsigned hits =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(detail::load(p), wanted)));
        if (hits != 0) return p + std::countr_zero(hits);
        p += 16;
    }
#endif
    while (p < end && *p != c) ++p;
    return p;
}

namespace detail {

inline bool sameWord(const char* a, const char* b) {
    std::uint64_t x, y;
    std::memcpy(&x, a, 8);
    std::memcpy(&y, b, 8);
    return x == y;
}

}  // namespace detail

// Whether the bytes at p are those of the name (p has at least its length).
inline bool sameBytes(const char* p, std::string_view name) {
    const std::size_t n = name.size();
    const char* q = name.data();
    // Names of 8 to 32 bytes: overlapping eight-byte words cover them.
    if (n >= 8 && n <= 32) {
        for (std::size_t i = 0; i + 8 < n; i += 8)
            if (!detail::sameWord(p + i, q + i)) return false;
        return detail::sameWord(p + n - 8, q + n - 8);
    }
    if (n < 8) {
        for (std::size_t i = 0; i < n; ++i)
            if (p[i] != q[i]) return false;
        return true;
    }
    return std::memcmp(p, q, n) == 0;
}

}  // namespace tabulon::workbook::xml

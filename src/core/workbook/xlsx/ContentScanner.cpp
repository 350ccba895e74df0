// The content scanner: text, start tags and end tags, checked as strictly as an XML parser would,
// or refused.
#include "core/workbook/xlsx/ContentScanner.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/workbook/xlsx/SharedStringsBuilder.h"
#include "core/workbook/xlsx/SheetBuilder.h"
#include "core/workbook/xml/MarkupText.h"

namespace tabulon::workbook::xlsx {

namespace {

enum CharClass : std::uint8_t {
    kPlainText = 1,      // character data that needs no decoding or checking
    kNameStart = 2,      // starts an element or attribute name
    kNameChar = 4,       // continues an element name
    kAttributeName = 8,  // continues an attribute name (a prefix colon included)
    kPlainValue = 16,    // attribute value character that needs no decoding
};

constexpr std::array<std::uint8_t, 256> makeClasses() {
    std::array<std::uint8_t, 256> classes{};
    for (int c = 0x20; c < 0x80; ++c)
        if (c != '<' && c != '&' && c != ']') classes[c] |= kPlainText;
    classes['\t'] |= kPlainText;
    classes['\n'] |= kPlainText;
    for (int c = 0x20; c < 0x80; ++c)
        if (c != '<' && c != '&' && c != '"' && c != '\'') classes[c] |= kPlainValue;
    for (int c = 'A'; c <= 'Z'; ++c) classes[c] |= kNameStart | kNameChar | kAttributeName;
    for (int c = 'a'; c <= 'z'; ++c) classes[c] |= kNameStart | kNameChar | kAttributeName;
    classes['_'] |= kNameStart | kNameChar | kAttributeName;
    for (int c = '0'; c <= '9'; ++c) classes[c] |= kNameChar | kAttributeName;
    for (const char c : {'.', '-'})
        classes[static_cast<unsigned char>(c)] |= kNameChar | kAttributeName;
    classes[':'] |= kAttributeName;
    return classes;
}

constexpr std::array<std::uint8_t, 256> kClasses = makeClasses();

bool is(char c, CharClass charClass) {
    return (kClasses[static_cast<unsigned char>(c)] & charClass) != 0;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Element names are short: a loop beats a call to memcmp.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

[[noreturn]] void unsupported() { throw UnsupportedMarkup{}; }

}  // namespace

template <class Builder>
const char* ContentScanner<Builder>::scan(const char* begin, const char* end) {
    const char* p = begin;
    while (p < end) {
        const char* next;
        if (*p != '<') {
            next = scanText(p, end);
        } else if (p + 1 == end) {
            return p;
        } else if (p[1] == '/') {
            next = scanEndTag(p, end);
            if (reachedEnd_) return p;
        } else if (is(p[1], kNameStart)) {
            next = scanTextElement(p, end);
            if (next == nullptr) next = scanStartTag(p, end);
        } else {
            unsupported();  // comments, CDATA sections, processing instructions, stray '<'
        }
        if (next == nullptr) return p;
        p = next;
    }
    return p;
}

// Character data up to the next '<'; nullptr when that is not in the bytes yet.
template <class Builder>
const char* ContentScanner<Builder>::scanText(const char* p, const char* end) {
    const char* q = p;
    while (q < end && is(*q, kPlainText)) ++q;
    if (!builder_.wantsText()) {
        // Characters that no element wants (the white space between rows and cells, line ends
        // with CR included) are passed over as they arrive, so that a long run of them is never
        // carried to the next chunk.
        while (q < end && (is(*q, kPlainText) || *q == '\r')) ++q;
        if (q != p && (q == end || *q != '<')) return q;
    }
    if (q == end) return nullptr;
    if (*q == '<') {
        if (builder_.wantsText()) builder_.characters(std::string_view(p, q - p));
        return q;
    }
    const char* lt = static_cast<const char*>(std::memchr(q, '<', end - q));
    if (lt == nullptr) return nullptr;
    decodeText(p, lt);
    if (builder_.wantsText()) builder_.characters(decoded_);
    return lt;
}

template <class Builder>
void ContentScanner<Builder>::decodeText(const char* p, const char* end) {
    decoded_.clear();
    if (!xml::decodeCharacterData(std::string_view(p, end - p), decoded_)) unsupported();
}

// The common <v>12</v>: an element without attributes around plain text, in one step. nullptr
// for anything else, which the general steps then read.
template <class Builder>
const char* ContentScanner<Builder>::scanTextElement(const char* p, const char* end) {
    const char* q = p + 1;
    while (q < end && is(*q, kNameChar)) ++q;
    if (q == end || *q != '>' || depth_ == kMaxDepth) return nullptr;
    const std::string_view name(p + 1, q - p - 1);
    const char* text = ++q;
    while (q < end && is(*q, kPlainText)) ++q;
    const std::size_t tail = name.size() + 3;  // </name>
    if (static_cast<std::size_t>(end - q) < tail || q[0] != '<' || q[1] != '/' ||
        !sameName(name, std::string_view(q + 2, name.size())) || q[tail - 1] != '>')
        return nullptr;
    builder_.textElement(name, std::string_view(text, q - text));
    return q + tail;
}

// A start tag and its attributes; nullptr when the tag is not complete in the bytes yet.
template <class Builder>
const char* ContentScanner<Builder>::scanStartTag(const char* p, const char* end) {
    const char* q = p + 1;
    while (q < end && is(*q, kNameChar)) ++q;
    if (q == end) return nullptr;
    const std::string_view name(p + 1, q - p - 1);

    std::size_t count = 0;
    bool selfClosing = false;
    for (;;) {
        const char* spaceStart = q;
        while (q < end && isSpace(*q)) ++q;
        if (q == end) return nullptr;
        if (*q == '>') {
            ++q;
            break;
        }
        if (*q == '/') {
            if (q + 1 == end) return nullptr;
            if (q[1] != '>') unsupported();
            q += 2;
            selfClosing = true;
            break;
        }
        if (q == spaceStart || !is(*q, kNameStart) || count == kMaxAttributes) unsupported();

        const char* nameStart = q;
        const char* localStart = q;
        while (q < end && is(*q, kAttributeName)) {
            if (*q == ':') localStart = q + 1;
            ++q;
        }
        const std::string_view qualified(nameStart, q - nameStart);
        const std::string_view local(localStart, q - localStart);
        while (q < end && isSpace(*q)) ++q;
        if (q == end) return nullptr;
        if (*q != '=') unsupported();
        ++q;
        while (q < end && isSpace(*q)) ++q;
        if (q == end) return nullptr;
        const char quote = *q;
        if (quote != '"' && quote != '\'') unsupported();
        const char* valueStart = ++q;
        for (;;) {
            while (q < end && is(*q, kPlainValue)) ++q;
            if (q == end) return nullptr;
            if (*q == quote) break;
            if (*q != '"' && *q != '\'') unsupported();
            ++q;  // the other quote
        }
        for (std::size_t i = 0; i < count; ++i)
            if (sameName(qualifiedNames_[i], qualified)) unsupported();  // a duplicate attribute
        qualifiedNames_[count] = qualified;
        attributes_[count++] = {local, std::string_view(valueStart, q - valueStart)};
        ++q;
    }
    if (!selfClosing && depth_ == kMaxDepth) unsupported();

    builder_.startElement(name, std::span<const XmlAttribute>(attributes_.data(), count));
    if (selfClosing) {
        builder_.endElement(name);
    } else {
        if (depth_ == open_.size())
            open_.emplace_back(name);
        else
            open_[depth_].assign(name);
        ++depth_;
    }
    return q;
}

// An end tag; nullptr when it is not complete in the bytes yet. The container's end tag itself
// is left to the caller.
template <class Builder>
const char* ContentScanner<Builder>::scanEndTag(const char* p, const char* end) {
    const char* q = p + 2;
    while (q < end && is(*q, kNameChar)) ++q;
    const std::string_view name(p + 2, q - p - 2);
    while (q < end && isSpace(*q)) ++q;
    if (q == end) return nullptr;
    if (*q != '>' || name.empty()) unsupported();
    if (depth_ == 0) {
        if (!sameName(container_, name)) unsupported();
        reachedEnd_ = true;
        return p;
    }
    if (!sameName(open_[depth_ - 1], name)) unsupported();
    --depth_;
    builder_.endElement(name);
    return q + 1;
}

template class ContentScanner<SheetBuilder>;
template class ContentScanner<SharedStringsBuilder>;

}  // namespace tabulon::workbook::xlsx

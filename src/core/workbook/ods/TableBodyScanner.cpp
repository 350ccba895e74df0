// The table scanner: text, start tags and end tags, checked as strictly as an XML parser would,
// or refused.
#include "core/workbook/ods/TableBodyScanner.h"

#include <cstdint>
#include <cstring>

#include "core/workbook/xml/MarkupText.h"

namespace tabulon::workbook::ods {

namespace {

enum CharClass : std::uint8_t {
    kPlainText = 1,   // character data that needs no decoding or checking
    kNameStart = 2,   // starts an element or attribute name
    kNameChar = 4,    // continues a name (a prefix colon included)
    kPlainValue = 8,  // attribute value character that needs no decoding or checking
};

constexpr std::array<std::uint8_t, 256> makeClasses() {
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
    for (const char c : {'.', '-', ':'}) classes[static_cast<unsigned char>(c)] |= kNameChar;
    return classes;
}

constexpr std::array<std::uint8_t, 256> kClasses = makeClasses();

bool is(char c, CharClass charClass) {
    return (kClasses[static_cast<unsigned char>(c)] & charClass) != 0;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Names are short: a loop beats a call to memcmp.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The part of a qualified name after its last colon.
inline std::string_view localPart(std::string_view name) {
    std::size_t i = name.size();
    while (i > 0 && name[i - 1] != ':') --i;
    return name.substr(i);
}

[[noreturn]] void unsupported() { throw UnsupportedTableMarkup{}; }

// Scans a name from p; nullptr when the bytes end inside it.
const char* scanName(const char* p, const char* end) {
    while (p < end && is(*p, kNameChar)) ++p;
    return p == end ? nullptr : p;
}

}  // namespace

const char* TableBodyScanner::scan(const char* begin, const char* end) {
    const char* p = begin;
    while (p < end) {
        const char* next;
        if (*p != '<') {
            next = scanText(p, end);
        } else if (p + 1 == end) {
            return p;
        } else if (p[1] == '/') {
            next = scanEndTag(p, end);
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
const char* TableBodyScanner::scanText(const char* p, const char* end) {
    const char* q = p;
    while (q < end && is(*q, kPlainText)) ++q;
    if (!reader_.wantsText()) {
        // Characters that no element wants (the white space between rows and cells, line ends
        // with CR included) are passed over as they arrive, so that a long run of them is never
        // carried to the next chunk.
        while (q < end && (is(*q, kPlainText) || *q == '\r')) ++q;
        if (q != p && (q == end || *q != '<')) return q;
    }
    if (q == end) return nullptr;
    if (*q == '<') {
        if (reader_.wantsText()) reader_.characters(std::string_view(p, q - p));
        return q;
    }
    const char* lt = static_cast<const char*>(std::memchr(q, '<', end - q));
    if (lt == nullptr) return nullptr;
    decoded_.clear();
    if (!xml::decodeCharacterData(std::string_view(p, lt - p), decoded_)) unsupported();
    if (reader_.wantsText()) reader_.characters(decoded_);
    return lt;
}

// The common <text:p>12</text:p>: an element without attributes around plain text, in one step.
// nullptr for anything else, which the general steps then read.
const char* TableBodyScanner::scanTextElement(const char* p, const char* end) {
    const char* q = scanName(p + 1, end);
    if (q == nullptr || *q != '>' || depth_ == kMaxDepth) return nullptr;
    const std::string_view name(p + 1, q - p - 1);
    const char* text = ++q;
    while (q < end && is(*q, kPlainText)) ++q;
    const std::size_t tail = name.size() + 3;  // </name>
    if (static_cast<std::size_t>(end - q) < tail || q[0] != '<' || q[1] != '/' ||
        !sameName(name, std::string_view(q + 2, name.size())) || q[tail - 1] != '>')
        return nullptr;
    const std::string_view local = localPart(name);
    reader_.startElement(local, {});
    if (reader_.wantsText() && q != text) reader_.characters(std::string_view(text, q - text));
    reader_.endElement(local);
    return q + tail;
}

// A start tag and its attributes; nullptr when the tag is not complete in the bytes yet.
const char* TableBodyScanner::scanStartTag(const char* p, const char* end) {
    const char* q = scanName(p + 1, end);
    if (q == nullptr) return nullptr;
    const std::string_view name(p + 1, q - p - 1);

    std::size_t count = 0;
    bool selfClosing = false;
    decoded_.clear();
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
        q = scanName(q, end);
        if (q == nullptr) return nullptr;
        const std::string_view qualified(nameStart, q - nameStart);
        while (q < end && isSpace(*q)) ++q;
        if (q == end) return nullptr;
        if (*q != '=') unsupported();
        ++q;
        while (q < end && isSpace(*q)) ++q;
        if (q == end) return nullptr;
        const char quote = *q;
        if (quote != '"' && quote != '\'') unsupported();
        const char* valueStart = ++q;
        bool plain = true;
        for (;;) {
            while (q < end && is(*q, kPlainValue)) ++q;
            if (q == end) return nullptr;
            if (*q == quote) break;
            if (*q == '"' || *q == '\'') {
                ++q;  // the other quote
            } else if (*q == '&' || static_cast<unsigned char>(*q) >= 0x80) {
                plain = false;
                const char* stop = q;
                while (stop < end && *stop != quote && *stop != '<') ++stop;
                if (stop == end) return nullptr;
                q = stop;
            } else {
                unsupported();  // '<', and tabs and line ends, which attribute values normalize
            }
        }
        const std::string_view raw(valueStart, q - valueStart);
        for (std::size_t i = 0; i < count; ++i)
            if (sameName(attributes_[i].qualifiedName, qualified)) unsupported();  // a duplicate
        attributes_[count] = {qualified, localPart(qualified), raw};
        decodedAt_[count] = kRaw;
        if (!plain) {
            // Decoded into decoded_, which may still move: the value is pointed at once the tag
            // is complete.
            for (const char c : raw)
                if (c == '\t' || c == '\n' || c == '\r') unsupported();
            decodedAt_[count] = decoded_.size();
            if (!xml::decodeCharacterData(raw, decoded_)) unsupported();
            decodedSize_[count] = decoded_.size() - decodedAt_[count];
        }
        ++count;
        ++q;
    }
    if (!selfClosing && depth_ == kMaxDepth) unsupported();
    for (std::size_t i = 0; i < count; ++i)
        if (decodedAt_[i] != kRaw)
            attributes_[i].value = std::string_view(decoded_).substr(decodedAt_[i], decodedSize_[i]);

    const std::string_view local = localPart(name);
    reader_.startElement(local, MarkupAttributes(attributes_.data(), count));
    if (selfClosing) {
        reader_.endElement(local);
    } else {
        // Elements at one depth mostly share their name: it is copied only when it differs.
        if (depth_ == open_.size())
            open_.emplace_back(name);
        else if (!sameName(open_[depth_], name))
            open_[depth_].assign(name);
        ++depth_;
    }
    return q;
}

// An end tag; nullptr when it is not complete in the bytes yet.
const char* TableBodyScanner::scanEndTag(const char* p, const char* end) {
    const char* q = p + 2;
    while (q < end && is(*q, kNameChar)) ++q;
    const std::string_view name(p + 2, q - p - 2);
    while (q < end && isSpace(*q)) ++q;
    if (q == end) return nullptr;
    // The table's own end tag lies beyond the content: an end tag at depth 0 is malformed here.
    if (*q != '>' || name.empty() || depth_ == 0 || !sameName(open_[depth_ - 1], name))
        unsupported();
    --depth_;
    reader_.endElement(localPart(name));
    return q + 1;
}

}  // namespace tabulon::workbook::ods

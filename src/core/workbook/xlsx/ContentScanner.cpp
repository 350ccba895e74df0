// The content scanner: text, start tags and end tags, checked as strictly as an XML parser would,
// or refused.
#include "core/workbook/xlsx/ContentScanner.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/workbook/xlsx/SharedStringsBuilder.h"
#include "core/workbook/xlsx/SheetBuilder.h"
#include "core/workbook/xml/CharacterData.h"
#include "core/workbook/xml/TokenLoop.h"

namespace tabulon::workbook::xlsx {

namespace {

using xml::isMarkup;
using xml::kColon;
using xml::kNameChar;
using xml::kNameStart;
using xml::kPlainText;
using xml::kPlainValue;

// Attribute names may carry a prefix.
constexpr std::uint8_t kAttributeName = kNameChar | kColon;

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
    return xml::scanTokens(*this, begin, end);
}

// Character data up to the next '<'; nullptr when that is not in the bytes yet.
template <class Builder>
const char* ContentScanner<Builder>::scanText(const char* p, const char* end) {
    return xml::scanCharacterData(p, end, builder_, decoded_, unsupported);
}

// The common <v>12</v>: an element without attributes around plain text, in one step. nullptr
// for anything else, which the general steps then read.
template <class Builder>
const char* ContentScanner<Builder>::scanTextElement(const char* p, const char* end) {
    const char* q = p + 1;
    while (q < end && isMarkup(*q, kNameChar)) ++q;
    if (q == end || *q != '>' || depth_ == kMaxDepth) return nullptr;
    const std::string_view name(p + 1, q - p - 1);
    const char* text = ++q;
    q = xml::skipPlainText(q, end);
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
    while (q < end && isMarkup(*q, kNameChar)) ++q;
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
        if (q == spaceStart || !isMarkup(*q, kNameStart) || count == kMaxAttributes) unsupported();

        const char* nameStart = q;
        const char* localStart = q;
        while (q < end && isMarkup(*q, kAttributeName)) {
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
            q = xml::skipPlainValue(q, end);
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
        // Elements at one depth mostly share their name: it is copied only when it differs.
        if (depth_ == open_.size())
            open_.emplace_back(name);
        else if (!sameName(open_[depth_], name))
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
    while (q < end && isMarkup(*q, kNameChar)) ++q;
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

// The table scanner: text, start tags and end tags, checked as strictly as an XML parser would,
// or refused.
#include "core/workbook/ods/TableBodyScanner.h"

#include <cstdint>
#include <cstring>

#include "core/workbook/xml/CharacterData.h"
#include "core/workbook/xml/MarkupText.h"
#include "core/workbook/xml/TokenLoop.h"

namespace tabulon::workbook::ods {

namespace {

using xml::isMarkup;
using xml::kNameStart;
using xml::kPlainText;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && xml::sameBytes(a.data(), b);
}

[[noreturn]] void unsupported() { throw UnsupportedTableMarkup{}; }

}  // namespace

const char* TableBodyScanner::scanName(const char* p, const char* end, const char*& local,
                                       const KnownName*& found) {
    constexpr std::size_t kLongest = 32;  // of the names kept
    found = nullptr;
    std::uint64_t head = 0;
    KnownName* set = nullptr;
    if (static_cast<std::size_t>(end - p) > kLongest) {
        std::memcpy(&head, p, sizeof head);
        set = &known_[((head * 0x9E3779B97F4A7C15u) >> (64 - kSetBits)) * kWays];
        for (std::size_t way = 0; way < kWays; ++way) {
            const KnownName& known = set[way];
            const std::size_t size = known.name.size();
            if (known.head == head && size != 0 && xml::sameBytes(p, known.name) &&
                !xml::isMarkup(p[size], xml::kNameChar | xml::kColon)) {
                local = p + known.local;
                found = &known;
                return p + size;
            }
        }
    }
    const char* colon = nullptr;
    const char* q = xml::skipName<true>(p, end, colon);
    local = colon != nullptr ? colon + 1 : p;
    if (q == end) return nullptr;
    if (set != nullptr && q - p >= 8 && static_cast<std::size_t>(q - p) <= kLongest) {
        KnownName& known = set[nextWay_++ % kWays];
        known.head = head;
        known.name.assign(p, q);
        known.local = static_cast<std::size_t>(local - p);
    }
    return q;
}

const char* TableBodyScanner::scan(const char* begin, const char* end) {
    return xml::scanTokens(*this, begin, end);
}

// Character data up to the next '<'; nullptr when that is not in the bytes yet.
const char* TableBodyScanner::scanText(const char* p, const char* end) {
    return xml::scanCharacterData(p, end, reader_, decoded_, unsupported);
}

// The common <text:p>12</text:p>: an element without attributes around plain text, in one step,
// when it has the name of the last one read so. nullptr for anything else, which the general
// steps then read.
const char* TableBodyScanner::scanTextElement(const char* p, const char* end) {
    const std::size_t size = textName_.size();
    if (size == 0 || static_cast<std::size_t>(end - p) <= size + 1 ||
        !xml::sameBytes(p + 1, textName_) || p[size + 1] != '>')
        return nullptr;
    return textElement(p, p + 1 + size, p + 1 + textLocal_, end);
}

// The element at p, whose name ends at nameEnd with its '>', in one step when plain text and its
// end tag follow in the bytes; nullptr otherwise.
const char* TableBodyScanner::textElement(const char* p, const char* nameEnd, const char* local,
                                          const char* end) {
    if (depth_ == kMaxDepth) return nullptr;
    const std::string_view name(p + 1, nameEnd - p - 1);
    const char* text = nameEnd + 1;
    const char* q = xml::skipPlainText(text, end);
    const std::size_t tail = name.size() + 3;  // </name>
    if (static_cast<std::size_t>(end - q) < tail || q[0] != '<' || q[1] != '/' ||
        !xml::sameBytes(q + 2, name) || q[tail - 1] != '>')
        return nullptr;
    const std::string_view localName(local, name.end() - local);
    reader_.startElement(localName, {});
    if (reader_.wantsText() && q != text) reader_.characters(std::string_view(text, q - text));
    reader_.endElement(localName);
    return q + tail;
}

const char* TableBodyScanner::takeAttribute(std::size_t index, const char* name, const char* local,
                                            const char* nameEnd, const char* valueStart,
                                            const char* end) {
    const char quote = valueStart[-1];
    const char* q = valueStart;
    bool plain = true;
    for (;;) {
        q = xml::skipPlainValue(q, end);
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
    attributes_[index] = {std::string_view(name, nameEnd - name),
                          std::string_view(local, nameEnd - local), raw};
    decodedAt_[index] = kRaw;
    if (!plain) {
        // Decoded into decoded_, which may still move: the value is pointed at once the tag
        // is complete.
        for (const char c : raw)
            if (c == '\t' || c == '\n' || c == '\r') unsupported();
        decodedAt_[index] = decoded_.size();
        if (!xml::decodeCharacterData(raw, decoded_)) unsupported();
        decodedSize_[index] = decoded_.size() - decodedAt_[index];
    }
    return q + 1;
}

// A start tag and its attributes; nullptr when the tag is not complete in the bytes yet.
const char* TableBodyScanner::scanStartTag(const char* p, const char* end) {
    const char* local = nullptr;
    const KnownName* elementName = nullptr;
    const char* q = scanName(p + 1, end, local, elementName);
    if (q == nullptr) return nullptr;
    if (*q == '>') {
        if (const char* after = textElement(p, q, local, end)) {
            // The next element of this name is read in one step from the start.
            textName_.assign(p + 1, q);
            textLocal_ = static_cast<std::size_t>(local - (p + 1));
            return after;
        }
    }
    const std::string_view name(p + 1, q - p - 1);

    if (siblings_.size() <= depth_) siblings_.resize(depth_ + 1, 0);
    const std::size_t place = siblings_[depth_];
    TagShape* shape = place < kShapes ? &shapes_[place] : nullptr;

    std::size_t count = 0;
    bool selfClosing = false;
    decoded_.clear();
    // The attributes that repeat the shape's leads.
    for (const std::size_t shaped = shape != nullptr ? shape->count : 0; count < shaped; ++count) {
        const std::size_t from = count == 0 ? 0 : shape->leadEnd[count - 1];
        const std::string_view lead =
            std::string_view(shape->leads).substr(from, shape->leadEnd[count] - from);
        if (static_cast<std::size_t>(end - q) <= lead.size() || !xml::sameBytes(q, lead)) break;
        const char* after =
            takeAttribute(count, q + shape->nameAt[count], q + shape->localAt[count],
                          q + shape->nameEndAt[count], q + lead.size(), end);
        if (after == nullptr) return nullptr;
        attributeNames_[count] = nullptr;  // compared by name with any that follow
        q = after;
    }
    const std::size_t shapedCount = count;
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
        const char* attributeLocal = nullptr;
        const KnownName* known = nullptr;
        q = scanName(q, end, attributeLocal, known);
        if (q == nullptr) return nullptr;
        const std::string_view qualified(nameStart, q - nameStart);
        const char* nameEnd = q;
        while (q < end && isSpace(*q)) ++q;
        if (q == end) return nullptr;
        if (*q != '=') unsupported();
        ++q;
        while (q < end && isSpace(*q)) ++q;
        if (q == end) return nullptr;
        if (*q != '"' && *q != '\'') unsupported();
        // A duplicate is refused. Names found among those met before are one entry each, but an
        // entry may have been given to another name since an earlier attribute was found in it.
        for (std::size_t i = 0; i < count; ++i) {
            const bool distinctEntries =
                known != nullptr && attributeNames_[i] != nullptr && known != attributeNames_[i];
            if (!distinctEntries && sameName(attributes_[i].qualifiedName, qualified))
                unsupported();
        }
        q = takeAttribute(count, nameStart, attributeLocal, nameEnd, q + 1, end);
        if (q == nullptr) return nullptr;
        attributeNames_[count] = known;
        ++count;
    }
    if (!selfClosing && depth_ == kMaxDepth) unsupported();
    if (shape != nullptr && !(shapedCount == count && count == shape->count))
        keepShape(*shape, name.end(), count);
    for (std::size_t i = 0; i < count; ++i)
        if (decodedAt_[i] != kRaw)
            attributes_[i].value =
                std::string_view(decoded_).substr(decodedAt_[i], decodedSize_[i]);
    ++siblings_[depth_];

    const std::string_view localName(local, name.end() - local);
    reader_.startElement(localName, MarkupAttributes(attributes_.data(), count));
    if (selfClosing) {
        reader_.endElement(localName);
    } else {
        // Elements at one depth mostly share their name: it is copied only when it differs.
        if (depth_ == open_.size()) {
            open_.emplace_back(name);
            openLocal_.push_back(0);
        } else if (!sameName(open_[depth_], name)) {
            open_[depth_].assign(name);
        }
        openLocal_[depth_] = static_cast<std::size_t>(local - name.data());
        ++depth_;
        if (siblings_.size() <= depth_) siblings_.resize(depth_ + 1, 0);
        siblings_[depth_] = 0;
    }
    return q;
}

void TableBodyScanner::keepShape(TagShape& shape, const char* nameEnd, std::size_t count) {
    shape.leads.clear();
    shape.count = 0;
    for (std::size_t i = 0; i < count; ++i) {
        // A lead begins after the element's name or the last value's closing quote, and ends
        // where its value begins.
        const MarkupAttribute& attribute = attributes_[i];
        const char* lead = i == 0 ? nameEnd : attributes_[i - 1].value.end() + 1;
        const std::size_t size = static_cast<std::size_t>(attribute.value.data() - lead);
        // A lead too long for the shape's offsets ends the shape before it.
        if (size > UINT8_MAX || shape.leads.size() + size > UINT16_MAX) return;
        shape.nameAt[i] = static_cast<std::uint8_t>(attribute.qualifiedName.data() - lead);
        shape.localAt[i] = static_cast<std::uint8_t>(attribute.name.data() - lead);
        shape.nameEndAt[i] = static_cast<std::uint8_t>(attribute.qualifiedName.end() - lead);
        shape.leads.append(lead, size);
        shape.leadEnd[i] = static_cast<std::uint16_t>(shape.leads.size());
        shape.count = i + 1;
    }
}

// An end tag, which must be that of the innermost open element; nullptr when it is not complete
// in the bytes yet. At depth 0 it ends the content, whoever checks that it is the table's.
const char* TableBodyScanner::scanEndTag(const char* p, const char* end) {
    if (depth_ == 0) {
        reachedEnd_ = true;
        return p;
    }
    const std::string& name = open_[depth_ - 1];
    const char* q = p + 2;
    if (static_cast<std::size_t>(end - q) <= name.size()) return nullptr;
    if (!xml::sameBytes(q, name)) unsupported();
    q += name.size();
    while (q < end && isSpace(*q)) ++q;
    if (q == end) return nullptr;
    if (*q != '>') unsupported();
    --depth_;
    reader_.endElement(std::string_view(name).substr(openLocal_[depth_]));
    return q + 1;
}

}  // namespace tabulon::workbook::ods

// Bounded field reads across a record and its continuations, and the BIFF string forms.
#include "core/workbook/xls/RecordCursor.h"

#include <algorithm>
#include <cstring>

#include "core/util/Utf16.h"
#include "core/workbook/xls/BiffRecords.h"

namespace tabulon::workbook::xls {

bool RecordCursor::settle() {
    while (leftInSegment() == 0) {
        if (segment_ + 1 >= segments_.size()) return false;
        ++segment_;
        offset_ = 0;
    }
    return true;
}

bool RecordCursor::atEnd() { return !settle(); }

void RecordCursor::read(void* out, std::size_t bytes) {
    auto* dst = static_cast<unsigned char*>(out);
    while (bytes > 0) {
        if (!settle()) throw BiffDamage("a record is shorter than its fields");
        const std::size_t n = std::min(bytes, leftInSegment());
        if (dst != nullptr) {
            std::memcpy(dst, segments_[segment_].data() + offset_, n);
            dst += n;
        }
        offset_ += n;
        bytes -= n;
    }
}

std::uint8_t RecordCursor::u8() {
    std::uint8_t v;
    read(&v, 1);
    return v;
}
std::uint16_t RecordCursor::u16() {
    std::uint16_t v;
    read(&v, 2);
    return v;
}
std::uint32_t RecordCursor::u32() {
    std::uint32_t v;
    read(&v, 4);
    return v;
}
double RecordCursor::f64() {
    double v;
    read(&v, 8);
    return v;
}
void RecordCursor::skip(std::size_t bytes) { read(nullptr, bytes); }

std::size_t RecordCursor::left() const {
    std::size_t total = segments_[segment_].size() - offset_;
    for (std::size_t i = segment_ + 1; i < segments_.size(); ++i) total += segments_[i].size();
    return total;
}

std::string RecordCursor::unicodeString(std::size_t charCount, Shortfall shortfall) {
    const bool cut = shortfall == Shortfall::Cut;
    if (cut && atEnd()) return {};  // not even the flags byte
    const std::uint8_t flags = u8();
    const auto optional = [&](std::size_t bytes) -> std::size_t {
        if (cut && left() < bytes) return 0;
        return bytes == 2 ? u16() : u32();
    };
    const std::size_t runs = (flags & 0x08) != 0 ? optional(2) : 0;
    const std::size_t phoneticBytes = (flags & 0x04) != 0 ? optional(4) : 0;
    bool wide = (flags & 0x01) != 0;

    std::u16string units;
    while (units.size() < charCount) {
        if (leftInSegment() == 0) {
            // The characters go on in the next CONTINUE record, behind a flags byte of their own.
            if (segment_ + 1 >= segments_.size()) {
                if (cut) break;
                throw BiffDamage("a string is cut short");
            }
            ++segment_;
            offset_ = 0;
            wide = (u8() & 0x01) != 0;
            continue;
        }
        const std::size_t width = wide ? 2 : 1;
        const std::size_t n = std::min(charCount - units.size(), leftInSegment() / width);
        if (n == 0) {
            if (cut) break;
            throw BiffDamage("a string's characters are cut in half");
        }
        const unsigned char* p = segments_[segment_].data() + offset_;
        for (std::size_t i = 0; i < n; ++i)
            units.push_back(wide ? char16_t(p[2 * i] | (p[2 * i + 1] << 8)) : char16_t(p[i]));
        offset_ += n * width;
    }
    const std::size_t trailing = 4 * runs + phoneticBytes;
    skip(cut ? std::min(trailing, left()) : trailing);
    std::string out;
    tabulon::appendUtf16(out, units);
    return out;
}

std::string RecordCursor::byteString(std::size_t count, const CodePage& codePage,
                                     Shortfall shortfall) {
    if (shortfall == Shortfall::Cut) count = std::min(count, left());
    std::string bytes(count, '\0');
    read(bytes.data(), count);
    return codePage.decode(bytes);
}

}  // namespace tabulon::workbook::xls

// Splitting a binary part into records and reading their payloads within bounds.
#include "core/workbook/xlsb/RecordStream.h"

#include <cstring>
#include <string>

#include "core/util/Utf16.h"

namespace tabulon::workbook::xlsb {

namespace {

constexpr std::uint32_t kMaxRecordBytes = std::uint32_t{16} << 20;

// A variable-length field of 7-bit groups, low group first, a set top bit meaning "more".
// Returns the bytes used, 0 when the data ends inside the field, or -1 when it runs longer than
// maxBytes.
int readVariable(std::string_view data, std::size_t pos, int maxBytes, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < maxBytes; ++i) {
        if (pos + i >= data.size()) return 0;
        const auto byte = static_cast<unsigned char>(data[pos + i]);
        value |= static_cast<std::uint32_t>(byte & 0x7F) << (7 * i);
        if ((byte & 0x80) == 0) return i + 1;
    }
    return -1;
}

}  // namespace

std::string_view RecordPayload::take(std::size_t count) {
    if (count > remaining())
        fail("record " + std::to_string(type_) + " is shorter than its content");
    const std::string_view bytes = bytes_.substr(pos_, count);
    pos_ += count;
    return bytes;
}

std::uint8_t RecordPayload::u8() { return static_cast<unsigned char>(take(1)[0]); }

std::uint16_t RecordPayload::u16() {
    const std::string_view b = take(2);
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[0]) |
                                      (static_cast<unsigned char>(b[1]) << 8));
}

std::uint32_t RecordPayload::u32() {
    const std::string_view b = take(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(b[i]);
    return value;
}

double RecordPayload::f64() {
    const std::uint64_t low = u32();
    const std::uint64_t bits = low | (static_cast<std::uint64_t>(u32()) << 32);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string RecordPayload::wideString() {
    const std::uint32_t length = u32();
    // Checked against the bytes left before the multiplication can matter.
    if (length > remaining() / 2)
        fail("a text in record " + std::to_string(type_) + " is longer than the record");
    return utf16BytesToUtf8(take(std::size_t{length} * 2), true);
}

std::string RecordPayload::nullableWideString() {
    if (remaining() >= 4 && bytes_.substr(pos_, 4) == std::string_view("\xFF\xFF\xFF\xFF", 4)) {
        pos_ += 4;
        return {};
    }
    return wideString();
}

void RecordPayload::skip(std::size_t count) { take(count); }

void RecordPayload::fail(const std::string& detail) const {
    throw ReadError(ReadErrorKind::DamagedRecords, place_, detail);
}

std::size_t RecordStream::parseRecords(std::string_view data) {
    std::size_t pos = 0;
    while (pos < data.size()) {
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        const int typeBytes = readVariable(data, pos, 2, type);
        if (typeBytes < 0)
            throw ReadError(ReadErrorKind::DamagedRecords, place_, "a record type is too long");
        if (typeBytes == 0) break;
        const int sizeBytes = readVariable(data, pos + typeBytes, 4, size);
        if (sizeBytes < 0)
            throw ReadError(ReadErrorKind::DamagedRecords, place_, "a record size is too long");
        if (sizeBytes == 0) break;
        // No record that the application writes comes near this; a larger one would only be
        // gathered in memory before anything could be read from it.
        if (size > kMaxRecordBytes)
            throw ReadError(
                ReadErrorKind::TooLarge, place_,
                "a record of more than " + std::to_string(kMaxRecordBytes >> 20) + " MiB");
        const std::size_t start = pos + typeBytes + sizeBytes;
        if (size > data.size() - start) break;
        RecordPayload payload(type, data.substr(start, size), place_);
        handler_(payload);
        pos = start + size;
    }
    return pos;
}

void RecordStream::feed(std::string_view chunk) {
    if (pending_.empty()) {
        const std::size_t used = parseRecords(chunk);
        pending_.assign(chunk.substr(used));
        return;
    }
    pending_.append(chunk);
    const std::size_t used = parseRecords(pending_);
    pending_.erase(0, used);
}

void RecordStream::finish() const {
    if (!pending_.empty())
        throw ReadError(ReadErrorKind::DamagedRecords, place_, "the last record is cut short");
}

void readRecords(ZipArchive& archive, std::string_view part, const RecordHandler& handler) {
    RecordStream stream({archive.path(), std::string(part), {}, {}}, handler);
    archive.read(part, [&](const char* bytes, std::size_t size) {
        stream.feed(std::string_view(bytes, size));
    });
    stream.finish();
}

}  // namespace tabulon::workbook::xlsb

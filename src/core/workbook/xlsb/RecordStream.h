// The record stream of a binary workbook part: variable-length type and size, then the payload.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/workbook/ReadError.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsb {

// A bounded cursor over one record's payload. Every read checks the bytes that remain and throws
// a DamagedRecords ReadError rather than reading past the record.
class RecordPayload {
  public:
    RecordPayload(std::uint32_t type, std::string_view bytes, const ReadErrorPlace& place)
        : type_(type), bytes_(bytes), place_(place) {}

    std::uint32_t type() const { return type_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    double f64();
    // A length-prefixed UTF-16LE string, returned as UTF-8.
    std::string wideString();
    // The same, where a length of 0xFFFFFFFF stands for no string (returned as empty).
    std::string nullableWideString();
    void skip(std::size_t count);

    [[noreturn]] void fail(const std::string& detail) const;

  private:
    std::string_view take(std::size_t count);

    std::uint32_t type_;
    std::string_view bytes_;
    std::size_t pos_ = 0;
    const ReadErrorPlace& place_;
};

using RecordHandler = std::function<void(RecordPayload&)>;

// Reads the package part's records in order, as its bytes are inflated, and hands each to the
// handler. A record cut short by the end of the package part, or a type or size field too long, is
// damage.
void readRecords(ZipArchive& archive, std::string_view part, const RecordHandler& handler);

// The same over bytes in memory; place names the package part in errors.
class RecordStream {
  public:
    RecordStream(ReadErrorPlace place, RecordHandler handler)
        : place_(std::move(place)), handler_(std::move(handler)) {}

    // Hands every complete record to the handler and keeps the rest for the next chunk.
    void feed(std::string_view chunk);
    // Fails when the package part ended inside a record.
    void finish() const;

  private:
    std::size_t parseRecords(std::string_view data);

    ReadErrorPlace place_;
    RecordHandler handler_;
    std::string pending_;
};

}  // namespace tabulon::workbook::xlsb

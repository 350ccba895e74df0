// The record layer: splitting a part into records across chunks, bounded payload reads, RK
// numbers, error bytes and UTF-16 text.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "XlsbBuilder.h"
#include "core/util/Utf16.h"
#include "core/workbook/BinaryCellCodes.h"
#include "core/workbook/xlsb/RecordStream.h"

namespace tabulon::workbook::xlsb {
namespace {

using namespace testing::xlsb;

using Seen = std::vector<std::pair<std::uint32_t, std::string>>;

// Feeds the bytes in chunks of the given size and collects each record's type and payload.
Seen split(const std::string& bytes, std::size_t chunk) {
    Seen seen;
    RecordStream stream({"book.xlsb", "xl/part.bin", {}, {}}, [&](RecordPayload& record) {
        std::string payload;
        while (record.remaining() > 0) payload += static_cast<char>(record.u8());
        seen.emplace_back(record.type(), payload);
    });
    for (std::size_t pos = 0; pos < bytes.size(); pos += chunk)
        stream.feed(std::string_view(bytes).substr(pos, chunk));
    stream.finish();
    return seen;
}

ReadError errorOf(const std::string& bytes, const std::function<void(RecordPayload&)>& read) {
    try {
        RecordStream stream({"book.xlsb", "xl/part.bin", {}, {}}, read);
        stream.feed(bytes);
        stream.finish();
    } catch (const ReadError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return ReadError(ReadErrorKind::CannotRead, {});
}

TEST(RecordStreamTest, RecordsComeOutWholeWhateverTheChunks) {
    // One-byte and two-byte types, an empty payload, and sizes of one, two and three bytes.
    const std::string big(20000, 'x');
    const std::string bytes = record(0, "ab") + record(617) + record(156, std::string(200, 'y')) +
                              record(16383, big) + record(5, "z");
    const Seen expected = {
        {0, "ab"}, {617, ""}, {156, std::string(200, 'y')}, {16383, big}, {5, "z"}};
    EXPECT_EQ(split(bytes, bytes.size()), expected);
    EXPECT_EQ(split(bytes, 1), expected);
    EXPECT_EQ(split(bytes, 7), expected);
}

TEST(RecordStreamTest, CutAndOverlongRecordsAreDamage) {
    const auto ignore = [](RecordPayload&) {};
    // The package part ends inside a payload, inside a size field, inside a type field.
    const ReadError cut = errorOf(record(6, "abcdef").substr(0, 5), ignore);
    EXPECT_EQ(cut.kind(), ReadErrorKind::DamagedRecords);
    EXPECT_STREQ(cut.what(),
                 "The workbook is damaged: bad records in xl/part.bin (the last record is cut "
                 "short): book.xlsb");
    EXPECT_EQ(errorOf(std::string("\x06\x80", 2), ignore).kind(), ReadErrorKind::DamagedRecords);
    EXPECT_EQ(errorOf(std::string("\x86", 1), ignore).kind(), ReadErrorKind::DamagedRecords);
    // A size that claims 256 MB is refused at once; nothing of that size is set aside.
    EXPECT_STREQ(errorOf(std::string("\x06\xFF\xFF\xFF\x7F", 5) + "abc", ignore).what(),
                 "The workbook is too large to read (a record of more than 16 MiB): book.xlsb");
    // Type fields of three bytes and size fields of five bytes do not exist.
    EXPECT_NE(std::string(errorOf(std::string("\x80\x80\x01\x00", 4), ignore).what())
                  .find("a record type is too long"),
              std::string::npos);
    EXPECT_NE(std::string(errorOf(std::string("\x06\x80\x80\x80\x80\x01", 6), ignore).what())
                  .find("a record size is too long"),
              std::string::npos);
}

TEST(RecordStreamTest, PayloadReadsStopAtTheRecordsEnd) {
    // Reads within the record work; one byte more fails.
    std::string got;
    errorOf(record(6, u16(0x1234) + u32(7) + wide("h\xC3\xA9") + "\x01"), [&](RecordPayload& r) {
        EXPECT_EQ(r.u16(), 0x1234);
        EXPECT_EQ(r.u32(), 7u);
        got = r.wideString();
        EXPECT_EQ(r.u8(), 1);
        r.u8();
    });
    EXPECT_EQ(got, "h\xC3\xA9");
    // A string length far beyond the record is damage, not an allocation.
    const ReadError huge =
        errorOf(record(6, u32(0x7FFFFFFF) + "ab"), [](RecordPayload& r) { r.wideString(); });
    EXPECT_NE(std::string(huge.what()).find("a text in record 6 is longer than the record"),
              std::string::npos);
    // An odd length that fits only half its last character is damage too.
    EXPECT_EQ(errorOf(record(6, u32(2) + "abc"), [](RecordPayload& r) { r.wideString(); }).kind(),
              ReadErrorKind::DamagedRecords);
    // A nullable string of length 0xFFFFFFFF is no string.
    errorOf(record(156, u32(0xFFFFFFFF) + wide("name")), [&](RecordPayload& r) {
        EXPECT_EQ(r.nullableWideString(), "");
        got = r.wideString();
        r.u8();
    });
    EXPECT_EQ(got, "name");
}

TEST(RecordStreamTest, RkNumbersInEveryForm) {
    // Integers in the upper 30 bits, with sign, and divided by 100.
    EXPECT_EQ(decodeRk((12345u << 2) | 2), 12345.0);
    EXPECT_EQ(decodeRk((static_cast<std::uint32_t>(-7) << 2) | 2), -7.0);
    EXPECT_EQ(decodeRk((12345u << 2) | 3), 123.45);
    EXPECT_EQ(decodeRk((static_cast<std::uint32_t>(-150) << 2) | 3), -1.5);
    EXPECT_EQ(decodeRk((static_cast<std::uint32_t>(-(1 << 29)) << 2) | 2), -536870912.0);
    EXPECT_EQ(decodeRk((0x1FFFFFFFu << 2) | 2), 536870911.0);
    // Doubles with only their upper 30 bits: 1.5 is 0x3FF80000 00000000; -2.5 is 0xC0040000.
    EXPECT_EQ(decodeRk(0x3FF80000u), 1.5);
    EXPECT_EQ(decodeRk(0xC0040000u), -2.5);
    EXPECT_EQ(decodeRk(0x3FF80000u | 1), 0.015);
    EXPECT_EQ(decodeRk(0), 0.0);
}

TEST(RecordStreamTest, ErrorBytesAndWideText) {
    const std::vector<std::pair<int, std::string>> codes = {
        {0x00, "#NULL!"}, {0x07, "#DIV/0!"}, {0x0F, "#VALUE!"}, {0x17, "#REF!"},
        {0x1D, "#NAME?"}, {0x24, "#NUM!"},   {0x2A, "#N/A"},    {0x2B, "#GETTING_DATA"}};
    for (const auto& [code, text] : codes)
        EXPECT_EQ(errorCodeText(static_cast<std::uint8_t>(code)), text);
    EXPECT_EQ(errorCodeText(0x01), "");
    EXPECT_EQ(errorCodeText(0xFF), "");

    // A surrogate pair joins into one character; a lone one becomes U+FFFD.
    EXPECT_EQ(utf16BytesToUtf8(std::string("A\0\x3D\xD8\x00\xDE", 6), true), "A\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16BytesToUtf8(std::string("\x3D\xD8"
                                           "B\0",
                                           4),
                               true),
              "\xEF\xBF\xBD"
              "B");
    EXPECT_EQ(utf16BytesToUtf8(std::string("\x00\xDE", 2), true), "\xEF\xBF\xBD");
    EXPECT_EQ(utf16BytesToUtf8(std::string("\xAC\x20", 2), true), "\xE2\x82\xAC");
}

}  // namespace
}  // namespace tabulon::workbook::xlsb

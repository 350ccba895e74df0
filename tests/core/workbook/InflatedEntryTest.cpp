// Deflated zip entries inflated by Tabulon (ISA-L, or zlib without it) read as libzip reads them:
// the same bytes, and on damage the same verdict, libzip's own error text.
#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "core/workbook/InflatedEntry.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook {
namespace {

// Text that compresses about as well as a sheet does.
std::string sample(std::size_t size) {
    std::string text;
    std::uint32_t seed = 7;
    while (text.size() < size) {
        seed = seed * 1103515245 + 12345;
        text += "<c r=\"A" + std::to_string(seed % 100000) + "\"><v>" + std::to_string(seed >> 8) +
                "</v></c>";
    }
    text.resize(size);
    return text;
}

// Raw deflate data; with finish false the stream ends on a sync flush, without its last block.
std::string deflated(const std::string& text, bool finish = true) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, text.size()) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, finish ? Z_FINISH : Z_SYNC_FLUSH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string u16(unsigned v) { return {char(v & 0xFF), char(v >> 8)}; }
std::string u32(std::uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); }

// A zip of one deflated entry "e.xml" with these compressed bytes, CRC and size.
std::string zipOf(const std::string& compressed, std::uint32_t crc, std::uint32_t size) {
    const std::string name = "e.xml";
    const std::string local = u32(0x04034b50) + u16(20) + u16(0) + u16(8) + u16(0) + u16(0x21) +
                              u32(crc) + u32(static_cast<std::uint32_t>(compressed.size())) +
                              u32(size) + u16(name.size()) + u16(0) + name;
    const std::string central =
        u32(0x02014b50) + u16(20) + u16(20) + u16(0) + u16(8) + u16(0) + u16(0x21) + u32(crc) +
        u32(static_cast<std::uint32_t>(compressed.size())) + u32(size) + u16(name.size()) + u16(0) +
        u16(0) + u16(0) + u16(0) + u32(0) + u32(0) + name;
    const std::string end = u32(0x06054b50) + u16(0) + u16(0) + u16(1) + u16(1) +
                            u32(static_cast<std::uint32_t>(central.size())) +
                            u32(static_cast<std::uint32_t>(local.size() + compressed.size())) +
                            u16(0);
    return local + compressed + central + end;
}

struct Outcome {
    std::string bytes;
    std::string error;  // libzip's text, empty when the entry was read
};

Outcome viaLibzip(const std::string& path) {
    Outcome outcome;
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    zip_file_t* file = zip_fopen_index(archive, 0, 0);
    char buffer[65536];
    zip_int64_t n;
    while ((n = zip_fread(file, buffer, sizeof buffer)) > 0)
        outcome.bytes.append(buffer, static_cast<std::size_t>(n));
    if (n < 0) {
        // As the archive words it: libzip's text for the error's code alone.
        zip_error_t error;
        zip_error_init_with_code(&error, zip_error_code_zip(zip_file_get_error(file)));
        outcome.error = zip_error_strerror(&error);
        zip_error_fini(&error);
    }
    zip_fclose(file);
    zip_discard(archive);
    return outcome;
}

Outcome viaArchive(const std::string& path) {
    Outcome outcome;
    try {
        ZipArchive(path).read(
            "e.xml", [&](const char* data, std::size_t n) { outcome.bytes.append(data, n); });
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::DamagedContainer);
        outcome.error = e.detail().substr(std::string("e.xml: ").size());
    }
    return outcome;
}

TEST(InflatedEntryTest, DamagedEntriesGetLibzipsVerdict) {
    const std::string small = sample(300000);
    // Above the size at which entries are inflated on a second thread.
    const std::string large = sample(6 << 20);
    const auto crcOf = [](const std::string& text) {
        return static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
    };
    const auto size = [](const std::string& text) {
        return static_cast<std::uint32_t>(text.size());
    };
    const auto damaged = [](std::string bytes, std::size_t at, std::size_t count) {
        for (std::size_t i = at; i < at + count; ++i) bytes[i] ^= 0x5A;
        return bytes;
    };
    const std::string packed = deflated(small);
    const std::string packedLarge = deflated(large);
    const struct {
        const char* name;
        std::string zip;
    } cases[] = {
        {"sound", zipOf(packed, crcOf(small), size(small))},
        {"sound and large", zipOf(packedLarge, crcOf(large), size(large))},
        {"bytes changed inside",
         zipOf(damaged(packed, packed.size() / 2, 8), crcOf(small), size(small))},
        {"bytes changed near the end of a large entry",
         zipOf(damaged(packedLarge, packedLarge.size() - 100, 8), crcOf(large), size(large))},
        {"a block of no kind", zipOf("\xFF" + packed.substr(1), crcOf(small), size(small))},
        {"another CRC", zipOf(packed, crcOf(small) ^ 1, size(small))},
        {"another size", zipOf(packed, crcOf(small), size(small) + 10)},
        {"cut short", zipOf(packed.substr(0, packed.size() - 100), crcOf(small), size(small))},
        {"bytes after the stream", zipOf(packed + "GARBAGE!", crcOf(small), size(small))},
        {"no last block", zipOf(deflated(small, false), crcOf(small), size(small))},
        {"nothing at all", zipOf("", crcOf(small), size(small))},
    };
    const testing::ScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file("entry.zip");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.zip;
        const Outcome expected = viaLibzip(path);
        const Outcome got = viaArchive(path);
        EXPECT_EQ(got.error, expected.error);
        if (expected.error.empty()) {
            EXPECT_TRUE(got.bytes == expected.bytes);
        }
    }
}

// The content after each point kept on a first read, read again from the point: the same bytes,
// and the CRC-32 of the whole entry checked at its end.
TEST(InflatedEntryTest, ReadingFromAKeptPointGivesTheRestOfTheContent) {
    const std::string text = sample(3 << 20);
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
    const testing::ScratchFolder folder;
    const std::string path = folder.file("entry.zip");
    std::ofstream(path, std::ios::binary) << zipOf(deflated(text), crc, text.size());
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    ASSERT_NE(archive, nullptr);
    const auto readFrom = [&](const InflatePoint* from, std::vector<InflatePoint>* points) {
        zip_file_t* file = zip_fopen_index(archive, 0, ZIP_FL_COMPRESSED);
        std::optional<InflatedEntry> entry;
        from != nullptr ? entry.emplace(file, crc, *from) : entry.emplace(file, crc);
        std::string out;
        // Pieces of changing sizes put the points at every kind of place in the input.
        std::vector<char> buffer(200000);
        for (std::size_t size = 1;; size = size * 7 % 199999 + 1) {
            const std::int64_t n = entry->read(buffer.data(), size);
            EXPECT_GE(n, 0);
            if (n <= 0) break;
            out.append(buffer.data(), static_cast<std::size_t>(n));
            if (points != nullptr) points->push_back(entry->point());
        }
        zip_fclose(file);
        return out;
    };
    std::vector<InflatePoint> points;
    EXPECT_TRUE(readFrom(nullptr, &points) == text);
    ASSERT_GT(points.size(), 20u);
    for (std::size_t i = 0; i < points.size(); i += points.size() / 10) {
        SCOPED_TRACE(points[i].content);
        EXPECT_TRUE(readFrom(&points[i], nullptr) == text.substr(points[i].content));
    }
    EXPECT_TRUE(readFrom(&points.back(), nullptr).empty());
    zip_discard(archive);
}

// A part streamed with a skip after a first read that kept points gives the bytes from there on,
// inflated ahead or on the caller's thread, and so does a twin of the archive.
TEST(InflatedEntryTest, StreamsWithASkipStartFromKeptPoints) {
    std::string text;
    const std::string piece = sample(30000);
    while (text.size() < (70u << 20)) text += piece;
    text += "end";
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
    const testing::ScratchFolder folder;
    const std::string path = folder.file("entry.zip");
    std::ofstream(path, std::ios::binary) << zipOf(deflated(text), crc, text.size());
    ZipArchive archive(path);
    const auto readAll = [](ZipArchive& from, std::uint64_t skip,
                            ZipArchive::Inflating inflating = ZipArchive::Inflating::Ahead) {
        std::string out;
        const auto stream = from.stream("e.xml", skip, inflating);
        for (std::string_view chunk = stream->next(); !chunk.empty(); chunk = stream->next())
            out.append(chunk);
        return out;
    };
    archive.keepPoints("e.xml");
    // A twin keeps no points of its own: they are its twin's to keep.
    const auto early = archive.twin();
    ASSERT_TRUE(early);
    EXPECT_TRUE(readAll(*early, 0) == text);
    EXPECT_TRUE(early->pointsKept("e.xml").empty());
    EXPECT_TRUE(readAll(archive, 0) == text);
    const std::uint64_t spacing = 64 << 20;
    for (const std::uint64_t skip : {std::uint64_t{12345}, spacing - 1, spacing, spacing + 1,
                                     spacing + 777, text.size() - 3, text.size()}) {
        SCOPED_TRACE(skip);
        EXPECT_TRUE(readAll(archive, skip) == text.substr(skip));
        EXPECT_TRUE(readAll(archive, skip, ZipArchive::Inflating::OnCaller) == text.substr(skip));
    }

    // Points let go of are not started from; those kept still are.
    const std::vector<std::uint64_t> kept = archive.pointsKept("e.xml");
    ASSERT_GE(kept.size(), 4u);
    const std::vector<std::uint64_t> keep{kept[2]};
    archive.letGoOfPoints("e.xml", kept[1], kept[3] + 1, keep);
    std::vector<std::uint64_t> left{kept[0], kept[2]};
    left.insert(left.end(), kept.begin() + 4, kept.end());
    EXPECT_EQ(archive.pointsKept("e.xml"), left);
    for (const std::uint64_t skip : {kept[1] + 9, kept[2], kept[3] + 9}) {
        SCOPED_TRACE(skip);
        EXPECT_TRUE(readAll(archive, skip) == text.substr(skip));
    }

    // A twin, for another thread, reads the same bytes from the points; once the file holds
    // another entry of that name there is none.
    const auto twin = archive.twin();
    ASSERT_TRUE(twin);
    EXPECT_TRUE(readAll(*twin, spacing + 777) == text.substr(spacing + 777));
    const std::string other = "other";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << zipOf(
        deflated(other),
        static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(other.data()), 5)),
        other.size());
    EXPECT_FALSE(archive.twin());
}

}  // namespace
}  // namespace tabulon::workbook

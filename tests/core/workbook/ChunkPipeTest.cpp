// Inflating on a second thread: order kept, failures on either side surface, nothing hangs.
#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>
#include <string>

#include "ReadWholeWorkbook.h"
#include "ScratchFolder.h"
#include "XlsxPackage.h"
#include "core/workbook/ChunkPipe.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

// Produces the numbers 0..count-1 as text, a few bytes per chunk.
struct CountingProducer {
    int next = 0;
    int count = 0;
    int failAt = -1;
    std::size_t operator()(char* buffer, std::size_t capacity) {
        if (next == failAt) throw std::runtime_error("producer failed");
        if (next == count) return 0;
        const std::string text = std::to_string(next++) + ",";
        EXPECT_LE(text.size(), capacity);
        text.copy(buffer, text.size());
        return text.size();
    }
};

// Takes every chunk of the pipe, handing each to consume.
template <class Consume>
void drain(CountingProducer& producer, Consume consume, ChunkPipe::Watch watch = {}) {
    ChunkPipe pipe(std::ref(producer), std::move(watch));
    for (std::string_view chunk = pipe.next(); !chunk.empty(); chunk = pipe.next()) consume(chunk);
}

TEST(ChunkPipe, DeliversEveryChunkInOrderAfterTheWatchSawIt) {
    std::string expected;
    for (int i = 0; i < 1000; ++i) expected += std::to_string(i) + ",";
    CountingProducer producer{0, 1000};
    std::string received;
    drain(producer, [&](std::string_view chunk) { received.append(chunk); });
    EXPECT_EQ(received, expected);

    // The watch runs on its own thread; each chunk reaches the caller only once it was seen.
    CountingProducer watched{0, 1000};
    std::mutex mutex;
    std::string seen;
    received.clear();
    drain(
        watched,
        [&](std::string_view chunk) {
            received.append(chunk);
            std::lock_guard lock(mutex);
            EXPECT_TRUE(seen.starts_with(received));
        },
        [&](std::string_view chunk) {
            std::lock_guard lock(mutex);
            seen.append(chunk);
        });
    EXPECT_EQ(received, expected);
    EXPECT_EQ(seen, expected);
}

TEST(ChunkPipe, FailuresOfEverySideAreRethrownAfterTheChunksBeforeThem) {
    const auto countChunks = [](CountingProducer producer, ChunkPipe::Watch watch = {}) {
        std::size_t chunks = 0;
        EXPECT_THROW(drain(
                         producer, [&](std::string_view) { ++chunks; }, std::move(watch)),
                     std::runtime_error);
        return chunks;
    };
    EXPECT_EQ(countChunks({0, 1000, 500}), 500u);
    EXPECT_EQ(countChunks({0, 1000, 500}, [](std::string_view) {}), 500u);
    EXPECT_EQ(countChunks({0, 1000},
                          [](std::string_view chunk) {
                              if (chunk == "300,") throw std::runtime_error("watch failed");
                          }),
              300u);

    // A consumer that stops early leaves the producer and the watch stopped, not hanging.
    for (const bool watched : {false, true}) {
        CountingProducer endless{0, 1 << 30};
        ChunkPipe::Watch watch;
        if (watched) watch = [](std::string_view) {};
        EXPECT_THROW(drain(
                         endless, [&](std::string_view) { throw std::logic_error("stop"); }, watch),
                     std::logic_error);
    }
}

// A sheet part above the size at which inflation moves to its own thread.
TEST(ChunkPipe, LargeSheetPartsReadAsSmallOnesDo) {
    std::string rows;
    const int count = 200000;
    for (int r = 1; r <= count; ++r)
        rows += "<row r=\"" + std::to_string(r) + "\"><c r=\"B" + std::to_string(r) + "\"><v>" +
                std::to_string(r) + "</v></c></row>";
    ASSERT_GT(rows.size(), std::size_t{4} << 20);
    testing::ScratchFolder folder;
    const std::string good = folder.file("large.xlsx");
    testing::XlsxPackage::workbook({testing::HandSheet("Big", rows)}).write(good);
    const auto book = readWorkbookFile(good);
    EXPECT_EQ(book->worksheet(0).usedRange().lastRow, count);
    EXPECT_EQ(book->worksheet(0).value(123456, 2).number, 123456);

    const std::string bad = folder.file("bad.xlsx");
    testing::XlsxPackage::workbook({testing::HandSheet("Big", rows + "<row r=\"0\"/>")}).write(bad);
    try {
        testing::readWholeWorkbook(bad);
        ADD_FAILURE() << "no error";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::CellOutOfBounds);
        EXPECT_EQ(e.place().sheet, "Big");
    }
}

}  // namespace
}  // namespace tabulon::workbook

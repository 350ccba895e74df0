// Inflating on a second thread: order kept, failures surface, nothing hangs.
#include <gtest/gtest.h>

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
void drain(CountingProducer& producer, Consume consume) {
    ChunkPipe pipe(std::ref(producer));
    for (std::string_view chunk = pipe.next(); !chunk.empty(); chunk = pipe.next()) consume(chunk);
}

TEST(ChunkPipe, DeliversEveryChunkInOrder) {
    std::string expected;
    for (int i = 0; i < 1000; ++i) expected += std::to_string(i) + ",";
    CountingProducer producer{0, 1000};
    std::string received;
    drain(producer, [&](std::string_view chunk) { received.append(chunk); });
    EXPECT_EQ(received, expected);
}

TEST(ChunkPipe, AFailureIsRethrownAfterTheChunksBeforeIt) {
    CountingProducer failing{0, 1000, 500};
    std::size_t chunks = 0;
    EXPECT_THROW(drain(failing, [&](std::string_view) { ++chunks; }), std::runtime_error);
    EXPECT_EQ(chunks, 500u);

    // A consumer that stops early leaves the producer stopped, not hanging.
    CountingProducer endless{0, 1 << 30};
    EXPECT_THROW(drain(endless, [&](std::string_view) { throw std::logic_error("stop"); }),
                 std::logic_error);
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

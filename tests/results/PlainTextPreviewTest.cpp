// The lazily drawn preview: line splitting of long texts, line ends, and the scroll range.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <fstream>

#include "ScratchFolder.h"
#include "core/util/MappedFile.h"
#include "results/PlainTextPreview.h"

namespace tabulon {
namespace {

TEST(PlainTextPreview, SplitsLinesAtLineFeedsAndDropsLineEnds) {
    PlainTextPreview preview;
    preview.setText("a, b, \r\ncell\nwith break, \r\n\r\n");
    ASSERT_EQ(preview.lineCount(), 4);
    EXPECT_EQ(preview.line(0), "a, b, ");
    EXPECT_EQ(preview.line(1), "cell");
    EXPECT_EQ(preview.line(2), "with break, ");
    EXPECT_EQ(preview.line(3), "");
    preview.setText("");
    EXPECT_EQ(preview.lineCount(), 1);
    EXPECT_EQ(preview.line(0), "");
    preview.setText("no line end");
    EXPECT_EQ(preview.line(0), "no line end");
}

TEST(PlainTextPreview, AMillionLinesScrollToTheLast) {
    std::string text;
    for (int i = 0; i < 1000000; ++i) text += std::to_string(i) + ", x, \r\n";
    PlainTextPreview preview;
    preview.resize(520, 180);
    preview.show();
    preview.setText(std::move(text));
    EXPECT_EQ(preview.lineCount(), 1000000);
    EXPECT_GT(preview.verticalScrollBar()->maximum(), 999000);
    EXPECT_EQ(preview.line(999999), "999999, x, ");
}

TEST(PlainTextPreview, ALineOfMillionsOfCharactersScrollsByCharacters) {
    std::string text;
    for (int i = 0; i < 1000000; ++i) text += "ab, ";
    text += "\xE2\x82\xAC end\r\n";
    PlainTextPreview preview;
    preview.resize(520, 180);
    preview.show();
    preview.setText(std::move(text));
    EXPECT_EQ(preview.lineCount(), 1);
    EXPECT_GT(preview.horizontalScrollBar()->maximum(), 3990000);
    EXPECT_EQ(preview.lineSlice(0, 0, 6), "ab, ab");
    EXPECT_EQ(preview.lineSlice(0, 4000000, 10), "\u20AC end");
    EXPECT_EQ(preview.lineSlice(0, 4000001, 2), " e");
    EXPECT_EQ(preview.lineSlice(0, 5000000, 2), "");
}

TEST(PlainTextPreview, AMappedTextIsShownAtOnceAndItsLinesAreCountedBetweenEvents) {
    testing::ScratchFolder folder;
    const std::filesystem::path file = folder.path() / "big.result";
    {
        std::ofstream out(file, std::ios::binary);
        const std::string line = std::string(90, 'c') + ", \r\n";  // 94 bytes
        for (int i = 0; i < 1000000; ++i) out << line;             // 94 MB, more than one slice
        out << "last, \r\n\r\n";
    }
    PlainTextPreview preview;
    preview.resize(520, 180);
    preview.show();
    preview.setText(MappedFile::open(file.string()));
    EXPECT_FALSE(preview.fullyIndexed());
    EXPECT_GT(preview.lineCount(), 50000);
    EXPECT_EQ(preview.line(0), QString::fromStdString(std::string(90, 'c') + ", "));
    while (!preview.fullyIndexed()) QCoreApplication::processEvents();
    EXPECT_EQ(preview.lineCount(), 1000002);
    EXPECT_EQ(preview.line(1000000), "last, ");
    EXPECT_EQ(preview.line(1000001), "");
    EXPECT_GT(preview.verticalScrollBar()->maximum(), 999000);
    EXPECT_EQ(preview.text().size(), 94000000u + 10u);
}

}  // namespace
}  // namespace tabulon

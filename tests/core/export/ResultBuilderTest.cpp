// A result built in memory while it is small and in its temporary file once it grows: which
// results take a file, the bytes kept either way, and a temporary name that is taken.
#include <gtest/gtest.h>

#include <fstream>

#include "ExportTestSupport.h"
#include "core/Error.h"
#include "core/export/ResultBuilder.h"
#include "core/export/ResultStore.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

class ResultBuilderTest : public ::testing::Test {
  protected:
    // A text of `size` bytes added in pieces of varied length, so that the move to the temporary
    // file happens in the middle of a piece.
    static std::string textOf(std::size_t size) {
        std::string text;
        for (std::size_t k = 0; text.size() < size; ++k) text += std::to_string(k) + ", ";
        text.resize(size);
        return text;
    }
    void build(ResultBuilder& builder, const std::string& text) {
        for (std::size_t at = 0; at < text.size(); at += 777)
            builder.append(std::string_view(text).substr(at, 777));
        builder.finish();
    }
    std::string tempPath() { return JoinPath(store.folder().path(), "Book1_1.csv"); }

    testing::ScratchFolder temp;
    testing::TempEnvironment tempEnvironment{temp.path().string()};
    ResultStore store;
};

TEST_F(ResultBuilderTest, ASmallResultTakesNoFileAndALargerOneMovesToItsTemporaryFileWhole) {
    // With its end of two bytes, the first text is just small; the second is one byte more.
    for (const std::size_t size : {kSmallResultSize - 2, kSmallResultSize - 1}) {
        const std::string text = textOf(size);
        ResultBuilder builder(store, tempPath(), "Book1.xlsx");
        build(builder, text);
        EXPECT_EQ(builder.size(), size + 2);
        const bool small = size + 2 <= kSmallResultSize;
        EXPECT_EQ(builder.stored().has_value(), small) << size;
        EXPECT_EQ(fs::exists(tempPath()), !small) << size;
        const StoredText kept = small ? *builder.stored() : store.keep(tempPath(), builder.size(), false);
        EXPECT_TRUE(kept.read() == text + "\r\n") << size;
        fs::remove(tempPath());
    }
    // Small texts follow one another in one file.
    ResultBuilder next(store, tempPath(), "Book1.xlsx");
    build(next, "a, b, \r\n");
    ASSERT_TRUE(next.stored().has_value());
    EXPECT_EQ(next.stored()->offset, kSmallResultSize);
    EXPECT_EQ(next.stored()->read(), "a, b, \r\n\r\n");
    EXPECT_EQ(testing::namesIn(store.folder().current()),
              (std::vector<std::string>{"1.result", "gathered.results"}));
}

TEST_F(ResultBuilderTest, ATextWithAByteOrderMarkIsKeptFromItsFileAsText) {
    ResultBuilder builder(store, tempPath(), "Book1.xlsx");
    build(builder, std::string("\xFF\xFE" "a\0", 4));
    EXPECT_TRUE(builder.startsWithByteOrderMark());
    EXPECT_FALSE(builder.stored().has_value());
    ASSERT_TRUE(fs::exists(tempPath()));
    const StoredText kept = store.keep(tempPath(), builder.size(), true);
    EXPECT_EQ(kept.read().substr(0, 4), "\xEF\xBB\xBF" "a");
}

TEST_F(ResultBuilderTest, ATakenTemporaryNameFailsOnlyTheResultThatGrowsIntoIt) {
    const fs::path victim = temp.path() / "victim.txt";
    std::ofstream(victim) << "precious";
    fs::create_symlink(victim, tempPath());

    ResultBuilder small(store, tempPath(), "Book1.xlsx");
    build(small, "a, \r\n");
    EXPECT_TRUE(small.stored().has_value());

    ResultBuilder large(store, tempPath(), "Book1.xlsx");
    try {
        build(large, textOf(kSmallResultSize));
        ADD_FAILURE() << "the link was opened";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), "File exists");
    }
    EXPECT_TRUE(fs::is_symlink(tempPath()));  // neither followed nor deleted
    EXPECT_EQ(testing::bytesOf(victim), "precious");
}

}  // namespace
}  // namespace tabulon

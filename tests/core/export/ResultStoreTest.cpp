// The run's store: texts one after another in a few files, a result never across two, records
// that say what each result is and where it lies, and dropped texts cut off at once.
#include <gtest/gtest.h>

#include <fstream>

#include "ExportTestSupport.h"
#include "core/Error.h"
#include "core/export/ResultBuilder.h"
#include "core/export/ResultStore.h"
#include "core/export/TempFolder.h"
#include "core/util/MappedFile.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

class ResultStoreTest : public ::testing::Test {
  protected:
    // The bytes of each text file of the store's folder, by name.
    std::map<std::string, std::uintmax_t> fileSizes() const {
        std::map<std::string, std::uintmax_t> sizes;
        for (const auto& entry : fs::directory_iterator(folder->current())) {
            if (entry.path().extension() == ".texts")
                sizes[entry.path().filename().string()] = entry.file_size();
        }
        return sizes;
    }

    testing::ScratchFolder temp;
    testing::TempEnvironment tempEnvironment{temp.path().string()};
    std::shared_ptr<RunFolder> folder = std::make_shared<RunFolder>();
};

TEST_F(ResultStoreTest, TextsFollowOneAnotherAndANewFileBeginsOnlyBetweenResults) {
    ResultStore store(folder, kDefaultResultSizeLimit, 100);  // a new file past 100 bytes
    struct Case {
        std::size_t size;
        const char* sheet;
        std::int32_t number;
    };
    const Case cases[] = {{60, "S", 1}, {60, "S", 2}, {10, "S", 3}, {300, "T", 1},
                          {5, "T", 2},  {0, "T", 3},  {7, "", 0},   {7, "", 0}};
    std::vector<std::string> texts;
    for (const Case& c : cases) {
        std::string text;
        while (text.size() < c.size) text += std::to_string(texts.size()) + ";";
        text.resize(c.size);
        testing::keepResult(store, text, "Book1.csv", c.sheet, c.number);
        texts.push_back(text);
    }
    ASSERT_EQ(store.size(), std::size(cases));
    for (std::size_t k = 0; k < store.size(); ++k) {
        EXPECT_EQ(store.text(k), texts[k]) << k;
        EXPECT_EQ(store.at(k).sheet, cases[k].sheet) << k;
        EXPECT_EQ(store.at(k).number, cases[k].number) << k;
        EXPECT_EQ(store.at(k).size, cases[k].size) << k;
        EXPECT_EQ(store.map(k)->bytes(), texts[k]) << k;
    }
    EXPECT_EQ(fileSizes(), (std::map<std::string, std::uintmax_t>{
                               {"1.texts", 120}, {"2.texts", 310}, {"3.texts", 19}}));
    store.clear();
    EXPECT_TRUE(fileSizes().empty());
}

TEST_F(ResultStoreTest, ADroppedTextIsCutOffAtOnceWhateverWasWrittenOfIt) {
    ResultStore store(folder, kDefaultResultSizeLimit);
    testing::keepResult(store, "kept");
    {
        ResultBuilder dropped(store, "Book1.xlsx", "");
        dropped.append(std::string(1 << 20, 'x'));  // past what is held before writing
    }
    EXPECT_EQ(fileSizes(), (std::map<std::string, std::uintmax_t>{{"1.texts", 4}}));
    testing::keepResult(store, "next");
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(store.text(1), "next");
    EXPECT_THROW(store.at(2), Error);
}

TEST_F(ResultStoreTest, StoresOfOneRunShareItsFolderAndTheLastOneRemovesIt) {
    auto first = std::make_unique<ResultStore>(folder, kDefaultResultSizeLimit);
    auto second = std::make_unique<ResultStore>(folder, kDefaultResultSizeLimit);
    testing::keepResult(*first, "one");
    testing::keepResult(*second, "two");
    const std::string path = folder->current();
    EXPECT_EQ(fileSizes().size(), 2u);
    folder.reset();
    first.reset();
    EXPECT_EQ(second->text(0), "two");
    second.reset();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(temp.path()));
}

TEST(TempFolder, UsesTempWhenItNamesAFolderAndTheSystemFolderOtherwise) {
    testing::ScratchFolder folder;
    const char* saved = std::getenv("TEMP");
    const std::string restore = saved != nullptr ? saved : "";
    setenv("TEMP", folder.path().c_str(), 1);
    EXPECT_EQ(tempFolder(), folder.path().string());
    setenv("TEMP", folder.file("missing").c_str(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(tempFolder()));
    EXPECT_NE(tempFolder(), folder.file("missing"));
    std::ofstream(folder.file("plain")) << "x";
    setenv("TEMP", folder.file("plain").c_str(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(tempFolder()));
    unsetenv("TEMP");
    EXPECT_TRUE(std::filesystem::is_directory(tempFolder()));
    if (saved != nullptr) setenv("TEMP", restore.c_str(), 1);
}

}  // namespace
}  // namespace tabulon

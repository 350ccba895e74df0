// Files: existence, quiet deletion and the exact bytes that WriteTextFile writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/Error.h"
#include "core/util/Files.h"

namespace fs = std::filesystem;

namespace tabulon {
namespace {

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() /
            ("tabulon_files_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string bytesOf(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};

TEST_F(FilesTest, FileExistsForFilesAndFoldersButNotForEmptyOrMissingPaths) {
    const auto file = dir_ / "a.txt";
    std::ofstream(file) << "x";
    EXPECT_TRUE(FileExists(file.string()));
    EXPECT_TRUE(FileExists(dir_.string()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists((dir_ / "missing").string()));
}

TEST_F(FilesTest, WriteTextFileAppendsCrLfAndTruncates) {
    const auto file = dir_ / "out.csv";
    WriteTextFile("abc", file.string());
    EXPECT_EQ(bytesOf(file), "abc\r\n");
    WriteTextFile("", file.string());
    EXPECT_EQ(bytesOf(file), "\r\n");
    WriteTextFile("a, b, \r\n", file.string());
    EXPECT_EQ(bytesOf(file), "a, b, \r\n\r\n");
}

TEST_F(FilesTest, WriteTextFileKeepsEveryCharacterAsUtf8) {
    const auto file = dir_ / "u.csv";
    const std::string text =
        "\xC3\xBE"
        "Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x82\xAC \xF0\x9F\x98\x80";
    WriteTextFile(text, file.string());
    EXPECT_EQ(bytesOf(file), text + "\r\n");
}

TEST_F(FilesTest, WriteTextFileIntoMissingFolderFails) {
    EXPECT_THROW(WriteTextFile("x", (dir_ / "no" / "such.csv").string()), Error);
    EXPECT_THROW(WriteTextFile("x", ""), Error);
}

TEST_F(FilesTest, DeleteFileQuietlyIgnoresEveryFailure) {
    const auto file = dir_ / "d.txt";
    std::ofstream(file) << "x";
    DeleteFileQuietly(file.string());
    EXPECT_FALSE(fs::exists(file));
    EXPECT_NO_THROW(DeleteFileQuietly(file.string()));
    EXPECT_NO_THROW(DeleteFileQuietly(""));
    EXPECT_NO_THROW(DeleteFileQuietly(dir_.string()));
    EXPECT_TRUE(fs::exists(dir_));
}

}  // namespace
}  // namespace tabulon

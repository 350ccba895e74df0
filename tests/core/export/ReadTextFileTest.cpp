// Reading a file back: missing and empty files, UTF-8 kept byte for byte, UTF-16 honoured.
#include <gtest/gtest.h>

#include <fstream>

#include "ScratchFolder.h"
#include "core/export/ReadTextFile.h"
#include "core/export/TempFolder.h"

namespace tabulon {
namespace {

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ReadTextFile, MissingAndEmptyFiles) {
    testing::ScratchFolder folder;
    EXPECT_EQ(ReadTextFile(folder.file("none.csv")), "");
    writeBytes(folder.file("empty.csv"), "");
    EXPECT_EQ(ReadTextFile(folder.file("empty.csv")), "empty file");
}

TEST(ReadTextFile, Utf8TextComesBackUnchangedEvenWhenItStartsWithThornOrYDiaeresis) {
    testing::ScratchFolder folder;
    const std::string text =
        "\xC3\xBE"
        "orn, \xC3\xBF, \xE2\x82\xAC\r\n";
    writeBytes(folder.file("u.csv"), text);
    EXPECT_EQ(ReadTextFile(folder.file("u.csv")), text);
}

TEST(ReadTextFile, Utf16WithByteOrderMarkIsDecoded) {
    testing::ScratchFolder folder;
    writeBytes(folder.file("le.csv"), std::string("\xFF\xFE"
                                                  "a\0\xAC\x20",
                                                  6));
    EXPECT_EQ(ReadTextFile(folder.file("le.csv")),
              "\xEF\xBB\xBF"
              "a\xE2\x82\xAC");
    writeBytes(folder.file("be.csv"), std::string("\xFE\xFF\0a\xD8\x3D\xDE\x00", 8));
    EXPECT_EQ(ReadTextFile(folder.file("be.csv")),
              "\xEF\xBB\xBF"
              "a\xF0\x9F\x98\x80");
}

TEST(TempFolder, UsesTempWhenItNamesAFolderAndTheSystemFolderOtherwise) {
    testing::ScratchFolder folder;
    const char* saved = std::getenv("TEMP");
    const std::string restore = saved != nullptr ? saved : "";
    setenv("TEMP", folder.path().c_str(), 1);
    EXPECT_EQ(TempFolder(), folder.path().string());
    setenv("TEMP", folder.file("missing").c_str(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(TempFolder()));
    EXPECT_NE(TempFolder(), folder.file("missing"));
    writeBytes(folder.file("plain"), "x");
    setenv("TEMP", folder.file("plain").c_str(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(TempFolder()));
    unsetenv("TEMP");
    EXPECT_TRUE(std::filesystem::is_directory(TempFolder()));
    if (saved != nullptr) setenv("TEMP", restore.c_str(), 1);
    EXPECT_EQ(TempFilePath("/tmp/", "Book1_1"), "/tmp/Book1_1.csv");
}

}  // namespace
}  // namespace tabulon

// Damaged copies of encrypted workbooks give clear damage errors, never a password question.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "EncryptedTestFiles.h"
#include "ScratchFolder.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;
using testing::kEncryptedData;
using testing::kTestPassword;
using testing::readFailure;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A copy of the test file with the first occurrence of from replaced by to (same length).
fs::path damagedCopy(const ::tabulon::testing::ScratchFolder& folder, const char* name,
                     const std::string& from, const std::string& to) {
    std::string bytes = bytesOf(kEncryptedData / name);
    const std::size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) bytes.replace(at, from.size(), to);
    const fs::path copy = folder.file(std::string("damaged-") + name);
    std::ofstream(copy, std::ios::binary) << bytes;
    return copy;
}

TEST(DamagedEncryptionTest, ABrokenEncryptionDescriptionIsDamage) {
    const ::tabulon::testing::ScratchFolder folder;
    PasswordList passwords({kTestPassword});
    std::string message;
    // Agile: the key data element renamed away.
    EXPECT_EQ(readFailure(damagedCopy(folder, "agile-sha512.xlsx", "<keyData ", "<keyDatX "),
                          &passwords, &message),
              ReadErrorKind::DamagedContainer);
    EXPECT_NE(message.find("The workbook is damaged (its encryption description"),
              std::string::npos)
        << message;
    // Agile: a salt that is not base64.
    EXPECT_EQ(readFailure(damagedCopy(folder, "agile-sha384.xlsx", "saltValue=\"", "saltValue=\"!"),
                          &passwords),
              ReadErrorKind::DamagedContainer);
    // Standard: an unknown version (4.2 becomes 4.9).
    EXPECT_EQ(readFailure(damagedCopy(folder, "standard-aes128.xlsx",
                                      std::string("\x04\x00\x02\x00\x24\x00\x00\x00", 8),
                                      std::string("\x04\x00\x09\x00\x24\x00\x00\x00", 8)),
                          &passwords),
              ReadErrorKind::DamagedContainer);
    // RC4 CryptoAPI in a FILEPASS record: a header size beyond the record, which is a broken
    // record of the workbook stream.
    const std::string version("\x01\x00\x04\x00\x02\x00\x04\x00\x00\x00", 10);
    EXPECT_EQ(
        readFailure(damagedCopy(folder, "rc4-cryptoapi.xls", version + std::string("\x7e\x00", 2),
                                version + std::string("\xff\x0f", 2)),
                    &passwords, &message),
        ReadErrorKind::DamagedRecords);
    EXPECT_NE(message.find("its encryption header"), std::string::npos) << message;
}

TEST(DamagedEncryptionTest, AFlippedCiphertextByteFailsTheIntegrityCheck) {
    const ::tabulon::testing::ScratchFolder folder;
    std::string bytes = bytesOf(kEncryptedData / "agile-sha256-aes128.xlsx");
    // The encrypted package is the file's last stream, well over 2 KB long.
    bytes[bytes.size() - 2048] ^= 0x01;
    const fs::path copy = folder.file("flipped.xlsx");
    std::ofstream(copy, std::ios::binary) << bytes;
    PasswordList passwords({kTestPassword});
    std::string message;
    EXPECT_EQ(readFailure(copy, &passwords, &message), ReadErrorKind::DamagedContainer);
    EXPECT_EQ(message,
              "The workbook is damaged (its encrypted package fails its integrity "
              "check): " +
                  copy.string());
}

TEST(DamagedEncryptionTest, ATruncatedEncryptedPackageIsDamage) {
    const ::tabulon::testing::ScratchFolder folder;
    std::string bytes = bytesOf(kEncryptedData / "standard-aes128.xlsx");
    bytes.resize(bytes.size() - 4096);
    const fs::path copy = folder.file("cut.xlsx");
    std::ofstream(copy, std::ios::binary) << bytes;
    PasswordList passwords({kTestPassword});
    EXPECT_EQ(readFailure(copy, &passwords), ReadErrorKind::DamagedContainer);
}

TEST(DamagedEncryptionTest, AFlippedOdsCiphertextByteFailsItsChecksum) {
    const ::tabulon::testing::ScratchFolder folder;
    std::string bytes = bytesOf(kEncryptedData / "aes256.ods");
    // The first "content.xml" is the entry's local header; its stored data follows.
    const std::size_t name = bytes.find("content.xml");
    ASSERT_NE(name, std::string::npos);
    bytes[name + 200] ^= 0x01;
    const fs::path copy = folder.file("flipped.ods");
    std::ofstream(copy, std::ios::binary) << bytes;
    PasswordList passwords({kTestPassword});
    std::string message;
    EXPECT_EQ(readFailure(copy, &passwords, &message), ReadErrorKind::DamagedContainer);
    EXPECT_NE(message.find("content.xml: its checksum does not match"), std::string::npos)
        << message;
}

}  // namespace
}  // namespace tabulon::workbook

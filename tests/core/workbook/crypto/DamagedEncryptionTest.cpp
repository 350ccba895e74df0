// Damaged copies of encrypted workbooks give clear damage errors, never a password question.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "EncryptedTestFiles.h"
#include "ScratchFolder.h"
#include "XlsxPackage.h"
#include "core/workbook/crypto/EncryptionInfo.h"
#include "core/workbook/crypto/OdfManifest.h"

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

// An agile description, sound but for its spin count.
std::string agileDescription(const std::string& spinCount) {
    const std::string parameters =
        "blockSize=\"16\" keyBits=\"256\" hashSize=\"64\" cipherAlgorithm=\"AES\" "
        "cipherChaining=\"ChainingModeCBC\" hashAlgorithm=\"SHA512\" saltValue=\"AAAA\"";
    return std::string("\x04\x00\x04\x00\x40\x00\x00\x00", 8) +
           "<encryption xmlns:p=\"urn:p\"><keyData " + parameters +
           "/><dataIntegrity encryptedHmacKey=\"AAAA\" encryptedHmacValue=\"AAAA\"/>"
           "<keyEncryptors><keyEncryptor><p:encryptedKey spinCount=\"" +
           spinCount + "\" " + parameters +
           " encryptedVerifierHashInput=\"AAAA\" encryptedVerifierHashValue=\"AAAA\" "
           "encryptedKeyValue=\"AAAA\"/></keyEncryptor></keyEncryptors></encryption>";
}

// A package whose manifest encrypts content.xml with this iteration count.
std::string manifestWith(const ::tabulon::testing::ScratchFolder& folder,
                         const std::string& iterations) {
    ::tabulon::testing::XlsxPackage package;
    package.setPart("META-INF/manifest.xml",
                    "<manifest><file-entry full-path=\"content.xml\" size=\"9\"><encryption-data "
                    "checksum-type=\"SHA1/1K\" checksum=\"AAAA\"><algorithm algorithm-name="
                    "\"Blowfish CFB\" initialisation-vector=\"AAAAAAAAAAA=\"/><key-derivation "
                    "key-derivation-name=\"PBKDF2\" iteration-count=\"" +
                        iterations +
                        "\" salt=\"AAAA\"/></encryption-data></file-entry></manifest>");
    const std::string path = folder.file("manifest-" + iterations + ".zip");
    package.write(path);
    return path;
}

// A manifest that names no cipher, start key, key derivation or checksum type is damaged; one that
// names another is a format not supported.
TEST(DamagedEncryptionTest, AManifestWithoutTheNamesItNeedsIsDamaged) {
    const ::tabulon::testing::ScratchFolder folder;
    const std::string sound =
        ZipArchive(manifestWith(folder, "1000")).readAll("META-INF/manifest.xml");
    const struct {
        const char* from;
        const char* to;
        ReadErrorKind kind;
    } cases[] = {
        {"algorithm-name=\"Blowfish CFB\"", "algorithm-name=\"\"", ReadErrorKind::DamagedContainer},
        {"algorithm-name=\"Blowfish CFB\"", "", ReadErrorKind::DamagedContainer},
        {"algorithm-name=\"Blowfish CFB\"", "algorithm-name=\"Twofish\"",
         ReadErrorKind::UnsupportedFormat},
        {"key-derivation-name=\"PBKDF2\"", "key-derivation-name=\"\"",
         ReadErrorKind::DamagedContainer},
        {"checksum-type=\"SHA1/1K\"", "checksum-type=\"\"", ReadErrorKind::DamagedContainer},
        {"<key-derivation ", "<start-key-generation/><key-derivation ",
         ReadErrorKind::DamagedContainer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        std::string manifest = sound;
        const std::size_t at = manifest.find(c.from);
        ASSERT_NE(at, std::string::npos);
        manifest.replace(at, std::strlen(c.from), c.to);
        ::tabulon::testing::XlsxPackage package;
        package.setPart("META-INF/manifest.xml", manifest);
        const std::string path = folder.file("manifest.zip");
        package.write(path);
        ZipArchive archive(path);
        try {
            crypto::readOdfManifest(archive);
            ADD_FAILURE() << "read";
        } catch (const ReadError& e) {
            EXPECT_EQ(e.kind(), c.kind);
            if (c.kind == ReadErrorKind::DamagedContainer) {
                EXPECT_NE(e.detail().find("its manifest lacks a "), std::string::npos)
                    << e.detail();
            }
        }
    }
}

TEST(DamagedEncryptionTest, CountsAreCheckedInTheirFullWidthBeforeTheyAreNarrowed) {
    const ::tabulon::testing::ScratchFolder folder;
    // Past 32 bits a count once wrapped round: 2^32 + 5 spins became 5 and 2^32 + 1 iterations
    // became 1.
    const struct {
        std::string count;
        bool accepted;
    } cases[] = {{"10000000", true},
                 {"10000001", false},
                 {"4294967296", false},
                 {"4294967301", false},
                 {"18446744073709551621", false},
                 {"99999999999999999999999", false}};
    for (const auto& c : cases) {
        const std::string spins = agileDescription(c.count);
        const auto parse = [&] {
            return crypto::parseEncryptionInfo(crypto::ByteView(
                reinterpret_cast<const unsigned char*>(spins.data()), spins.size()));
        };
        if (c.accepted) {
            EXPECT_EQ(std::get<crypto::AgileEncryption>(parse()).spinCount, 10'000'000u);
        } else {
            EXPECT_THROW(parse(), crypto::BadEncryptionInfo) << c.count;
        }
        ZipArchive archive(manifestWith(folder, c.count));
        if (c.accepted) {
            EXPECT_EQ(crypto::readOdfManifest(archive).at("content.xml").iterations, 10'000'000u);
        } else {
            EXPECT_THROW(crypto::readOdfManifest(archive), ReadError) << c.count;
        }
    }
}

}  // namespace
}  // namespace tabulon::workbook

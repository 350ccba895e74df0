// Encrypted workbooks of every scheme read to the text of their plain copies.
#include <gtest/gtest.h>

#include <utility>

#include "EncryptedTestFiles.h"
#include "ReferenceCsv.h"
#include "core/workbook/xls/BiffDecryption.h"
#include "core/workbook/xls/XorObfuscation.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;
using testing::kCorpus;
using testing::kEncryptedData;
using testing::kTestPassword;
using testing::readFailure;
using testing::workbookText;

TEST(EncryptedWorkbookTest, EveryOfficeSchemeReadsToThePlainCopysText) {
    const std::string plain = workbookText(kEncryptedData / "plain.xlsx");
    ASSERT_NE(plain.find("Entry 119"), std::string::npos);
    for (const char* name : {"agile-sha512.xlsx", "agile-sha384.xlsx", "agile-sha256-aes128.xlsx",
                             "agile-sha1-aes192.xlsx", "standard-aes128.xlsx"}) {
        PasswordList passwords({kTestPassword});
        EXPECT_EQ(workbookText(kEncryptedData / name, &passwords), plain) << name;
    }
    // LibreOffice's own encrypted OpenDocument files hold the same cells.
    for (const char* name : {"aes256.ods", "blowfish.ods"}) {
        PasswordList passwords({kTestPassword});
        EXPECT_EQ(workbookText(kEncryptedData / name, &passwords), plain) << name;
    }
}

TEST(EncryptedWorkbookTest, EveryXlsSchemeReadsToTheDecryptedCopysText) {
    const std::string plain = workbookText(kEncryptedData / "rc4.plain.xls");
    ASSERT_NE(plain.find("Entry 119"), std::string::npos);
    for (const char* name :
         {"rc4.xls", "rc4-cryptoapi.xls", "rc4-cryptoapi-40bit.xls", "xor-obfuscated.xls"}) {
        PasswordList passwords({kTestPassword});
        EXPECT_EQ(workbookText(kEncryptedData / name, &passwords), plain) << name;
    }
}

TEST(EncryptedWorkbookTest, TheDefaultPasswordOpensWithoutAPasswordSource) {
    EXPECT_EQ(workbookText(kEncryptedData / "default-password.xlsx"),
              workbookText(kEncryptedData / "plain.xlsx"));
    const fs::path corpusFile = kCorpus / "files" / "poi__poifs_protect.xlsx";
    if (!fs::exists(corpusFile)) GTEST_SKIP() << "no corpus at " << kCorpus;
    EXPECT_NE(workbookText(corpusFile).find("Microsoft Office"), std::string::npos);
}

TEST(EncryptedWorkbookTest, ALaterPasswordOfTheListOpensTheWorkbook) {
    for (const auto& [name, plain] : {std::pair{"agile-sha256-aes128.xlsx", "plain.xlsx"},
                                      {"rc4.xls", "rc4.plain.xls"},
                                      {"aes256.ods", "plain.xlsx"}}) {
        PasswordList passwords({"wrong", kTestPassword});
        EXPECT_EQ(workbookText(kEncryptedData / name, &passwords),
                  workbookText(kEncryptedData / plain))
            << name;
    }
}

TEST(EncryptedWorkbookTest, WrongEmptyAndVeryLongPasswordsAreIncorrect) {
    for (const char* name :
         {"agile-sha512.xlsx", "standard-aes128.xlsx", "rc4.xls", "rc4-cryptoapi.xls",
          "xor-obfuscated.xls", "aes256.ods", "blowfish.ods"}) {
        const fs::path file = kEncryptedData / name;
        PasswordList passwords({"tabulon-1", "", std::string(5000, 'x') + "\xc3\xa4"});
        std::string message;
        EXPECT_EQ(readFailure(file, &passwords, &message), ReadErrorKind::PasswordIncorrect)
            << name;
        EXPECT_EQ(message, "The password is incorrect: " + file.string());
    }
}

TEST(EncryptedWorkbookTest, WithoutPasswordsAnEncryptedWorkbookIsProtected) {
    for (const char* name : {"agile-sha512.xlsx", "rc4-cryptoapi-40bit.xls", "aes256.ods"}) {
        const fs::path file = kEncryptedData / name;
        PasswordList none({});
        std::string message;
        EXPECT_EQ(readFailure(file, &none, &message), ReadErrorKind::PasswordProtected) << name;
        EXPECT_EQ(message, "The workbook is password-protected: " + file.string());
        EXPECT_EQ(readFailure(file, nullptr), ReadErrorKind::PasswordProtected) << name;
    }
}

TEST(EncryptedWorkbookTest, CorpusFilesOpenWithTheirPasswordsOrFailClearly) {
    const fs::path files = kCorpus / "files";
    if (!fs::exists(files / "poi__password.xls")) GTEST_SKIP() << "no corpus at " << kCorpus;
    PasswordList passwords({"password", "tika"});
    EXPECT_NE(workbookText(files / "poi__password.xls", &passwords).find("A ZIP bomb"),
              std::string::npos);
    EXPECT_NE(workbookText(files / "poi__protected_passtika.xlsx", &passwords)
                  .find("This is an Encrypted Excel spreadsheet."),
              std::string::npos);
    // This one's encrypted package is cut short in the file itself.
    PasswordList pwd123({"pwd123"});
    EXPECT_EQ(readFailure(files / "poi__poifs_extenxls_pwd123.xlsx", &pwd123),
              ReadErrorKind::DamagedContainer);
    for (const char* name : {"calamine__pass_protected.xlsx", "calamine__pass_protected.xlsb",
                             "calamine__pass_protected.ods"})
        EXPECT_EQ(readFailure(files / name, &passwords), ReadErrorKind::PasswordIncorrect) << name;
}

TEST(EncryptedWorkbookTest, XorPasswordsAreSingleBytesAtMostFifteen) {
    // U+4E00 has a zero low byte, so its high byte stands for it.
    EXPECT_EQ(xls::xorPasswordBytes("ab\xe4\xb8\x80\xc3\xa4"),
              (crypto::Bytes{'a', 'b', 0x4E, 0xE4}));
    EXPECT_EQ(xls::xorPasswordBytes(std::string(40, 'x')).size(), 15u);
}

TEST(EncryptedWorkbookTest, Rc4KeysFollowTheirPublishedExample) {
    // The example of msoffcrypto-tool's RC4 key derivation: password1, this salt, block 0.
    const crypto::Bytes salt = {0xe8, 0x77, 0x2c, 0x1d, 0x91, 0xc5, 0x6a, 0x37,
                                0x96, 0x47, 0x61, 0xb2, 0x80, 0x18, 0x32, 0x17};
    const crypto::Bytes expected = {0x20, 0xbf, 0x32, 0xdd, 0xf5, 0x40, 0x85, 0x8c,
                                    0x51, 0x37, 0x44, 0xaf, 0x0f, 0x24, 0xe0, 0x3c};
    EXPECT_EQ(xls::rc4BlockKey("password1", salt, 0), expected);
    EXPECT_NE(xls::rc4BlockKey("password1", salt, 1), expected);
}

}  // namespace
}  // namespace tabulon::workbook

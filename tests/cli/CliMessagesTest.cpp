// What tabulon-cli says, run as a process: folders it cannot read, --list with the passwords of
// an export, control characters from outside escaped, and each failure's path said once.
#include <filesystem>
#include <fstream>

#include "CliProcess.h"
#include "XlsxPackage.h"
#include "xls/BiffBuilder.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;
namespace biff = workbook::xls::testing;

using testing::CliOutput;

constexpr uid_t kNobody = 65534;

class CliMessagesTest : public testing::CliProcessTest {
  protected:
    std::string plainWorkbook(const std::string& relative) {
        fs::create_directories(fs::path(folder.file(relative)).parent_path());
        return testing::writeWorkbook(folder, relative, {{"S", {{"A1", "x"}}}});
    }
    std::string writeBytes(const std::string& relative, const std::string& bytes) {
        const std::string path = folder.file(relative);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

TEST_F(CliMessagesTest, ControlCharactersFromOutsideAreEscapedOnTheTerminal) {
    // An .xls may name a sheet with any characters: here TAB, LF, ESC, a backslash and C1 NEL.
    const std::string name = "T\tL\nE\x1b[2JB\\C\x85";
    const std::string book = writeBytes(
        "names.xls", biff::compoundFile({{"Workbook", biff::workbookStream({}, {{name, {}}})}}));
    CliOutput run = runCli({"--list", book});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, book + "\tT\\tL\\nE\\x1B[2JB\\\\C\\x85\tworksheet\tvisible\tA1:A1\n");

    // A path from outside reaches the messages of --list and of an export alike.
    const std::string gone = folder.file("gone\x1b]0;x\x07.xlsx");
    const std::string line = "tabulon-cli: " + folder.file("gone\\x1B]0;x\\x07.xlsx") +
                             ": The workbook file was not found\n";
    run = runCli({"--list", gone});
    EXPECT_EQ(run.err, line);
    run = runCli({"--output", "-", gone});
    EXPECT_EQ(run.err, line);
    EXPECT_EQ(run.status, 1);
}

TEST_F(CliMessagesTest, ListOpensEncryptedWorkbooksWithTheExportsPasswords) {
    const std::string book =
        std::string(TABULON_SOURCE_DIR) + "/tests/data/encrypted/agile-sha384.xlsx";
    const std::string wrongThenRight = writeBytes("passwords.txt", "nope\r\nTabulon-1\n");
    const std::string listing = book + "\tData\tworksheet\tvisible\tA1:C120\n" + book +
                                "\tSecond\tworksheet\tvisible\tA1:B3\n";
    const struct {
        std::vector<std::string> passwords;
        std::string out;
        std::string err;
    } cases[] = {
        {{}, "", "tabulon-cli: " + book + ": The workbook is password-protected\n"},
        {{"--password", "nope"}, "", "tabulon-cli: " + book + ": The password is incorrect\n"},
        {{"--password", "nope", "--password-file", wrongThenRight}, listing, ""},
        {{"--password", "Tabulon-1"}, listing, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.passwords;
        arguments.insert(arguments.begin(), "--list");
        arguments.push_back(book);
        const CliOutput run = runCli(arguments);
        EXPECT_EQ(run.out, c.out) << c.passwords.size();
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.status, c.err.empty() ? 0 : 1);
    }
}

TEST_F(CliMessagesTest, EachFileIsCalledWhatItIsAndNamedOnce) {
    const std::string good = plainWorkbook("good.xlsx");
    const std::string bytes = testing::bytesOf(good);
    // A zip directory said to lie beyond the file's end; a file cut in half.
    std::string farDirectory = bytes;
    const std::size_t end = farDirectory.rfind("PK\x05\x06");
    farDirectory.replace(end + 16, 4, std::string("\x00\x00\x01\x00", 4));
    const std::string farPath = writeBytes("far.xlsx", farDirectory);
    const std::string cutPath = writeBytes("cut.xlsx", bytes.substr(0, bytes.size() / 2));
    const std::string loop = folder.file("loop.xlsx");
    fs::create_symlink("loop.xlsx", loop);
    // Main relationships that name the relationships part itself, or a worksheet.
    const auto mainPartAt = [&](const std::string& file, const std::string& target) {
        testing::XlsxPackage package =
            testing::XlsxPackage::workbook({testing::HandSheet("Data", "")});
        package.setPart("_rels/.rels",
                        "<Relationships><Relationship Id=\"r\" Type=\"http://schemas."
                        "openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                        "Target=\"" +
                            target + "\"/></Relationships>");
        package.write(folder.file(file));
        return folder.file(file);
    };
    const std::string rels = mainPartAt("rels.xlsx", "_rels/.rels");
    const std::string sheet = mainPartAt("sheet.xlsx", "xl/worksheets/sheet1.xml");
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {folder.file("missing.xlsx"), "The workbook file was not found"},
        {loop, "The workbook file cannot be read (Too many levels of symbolic links)"},
        {farPath,
         "The workbook is damaged (its zip directory cannot be read: Zip archive "
         "inconsistent)"},
        {cutPath,
         "The workbook is damaged (its zip directory is missing or broken: the file may be cut "
         "short)"},
        {rels, "The workbook is damaged: its main part _rels/.rels holds no workbook"},
        {sheet,
         "The workbook is damaged: its main part xl/worksheets/sheet1.xml holds no "
         "workbook"},
    };
    for (const auto& c : cases) {
        const std::string line = "tabulon-cli: " + c.path + ": " + c.reason + "\n";
        EXPECT_EQ(runCli({"--list", c.path}).err, line);
        const CliOutput exported = runCli({"--output", "-", c.path});
        EXPECT_EQ(exported.err, line);
        EXPECT_EQ(exported.status, 1);
        EXPECT_EQ(exported.out, "");
    }
}

TEST_F(CliMessagesTest, FoldersThatCannotBeReadAreNamedAndTheRestIsTaken) {
    if (::geteuid() != 0) GTEST_SKIP() << "runs tabulon-cli as user 65534, which needs root";
    runAs = kNobody;
    fs::permissions(temp.path(), fs::perms::all);
    if (runCli({"--version"}).status != 0)
        GTEST_SKIP() << "user 65534 cannot run " << TABULON_CLI << " here";
    // locked may be neither listed nor entered, listOnly listed but not entered.
    const std::string a = plainWorkbook("tree/a.xlsx");
    const std::string d = plainWorkbook("tree/ok/d.xlsx");
    const std::string b = plainWorkbook("tree/locked/b.xlsx");
    plainWorkbook("tree/listOnly/c.xlsx");
    fs::permissions(folder.file("tree/locked"), fs::perms::none);
    fs::permissions(folder.file("tree/listOnly"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string tree = folder.file("tree");
    const std::string prefix = "tabulon-cli: " + tree;

    CliOutput run = runCli({"--list", tree, b});
    EXPECT_EQ(run.out,
              a + "\tS\tworksheet\tvisible\tA1:A1\n" + d + "\tS\tworksheet\tvisible\tA1:A1\n");
    EXPECT_EQ(run.err, prefix + "/listOnly: Permission denied\n" + prefix +
                           "/locked: Permission denied\n" + prefix +
                           "/locked/b.xlsx: The workbook file cannot be read (Permission "
                           "denied)\n");
    EXPECT_EQ(run.status, 1);

    run = runCli({"--output", "-", folder.file("tree/locked")});
    EXPECT_EQ(run.err, prefix + "/locked: Permission denied\ntabulon-cli: No files added.\n");
    EXPECT_EQ(run.status, 1);
}

}  // namespace
}  // namespace tabulon

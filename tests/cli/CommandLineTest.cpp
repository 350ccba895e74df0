// The command line of tabulon-cli: modes, options, paths and usage errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli/CommandLine.h"
#include "core/export/SaveOptions.h"

namespace tabulon::cli {
namespace {

TEST(CommandLine, DefaultsToBookModeIntoTheCurrentFolderWithXlStar) {
    const CommandLine line = parseCommandLine({"a.xlsx", "dir"});
    EXPECT_EQ(line.option, kSaveEachBookOption);
    EXPECT_EQ(line.outputFolder, ".");
    EXPECT_EQ(line.extension, "xl*");
    EXPECT_EQ(line.paths, (std::vector<std::string>{"a.xlsx", "dir"}));
    EXPECT_FALSE(line.help);
}

TEST(CommandLine, ModesAndOptionsInBothSpellings) {
    EXPECT_EQ(parseCommandLine({"--mode", "sheet", "a"}).option, kSaveEachSheetOption);
    EXPECT_EQ(parseCommandLine({"--mode=row", "a"}).option, kSaveEachRowOption);
    EXPECT_EQ(parseCommandLine({"a", "--mode", "column"}).option, kSaveEachColOption);
    const CommandLine line = parseCommandLine({"--output=/tmp/out", "--ext", "ods", "--", "--odd"});
    EXPECT_EQ(line.outputFolder, "/tmp/out");
    EXPECT_EQ(line.extension, "ods");
    EXPECT_EQ(line.paths, (std::vector<std::string>{"--odd"}));
}

TEST(CommandLine, HelpNeedsNoPath) { EXPECT_TRUE(parseCommandLine({"--help"}).help); }

TEST(CommandLine, UsageErrors) {
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{},
                                               {"--mode", "books", "a"},
                                               {"--mode"},
                                               {"--output", "", "a"},
                                               {"--frobnicate", "a"},
                                               {"--mode", "row"}}) {
        EXPECT_THROW(parseCommandLine(bad), UsageError);
    }
}

TEST(CommandLine, PasswordsComeFromOptionsThenFromFilesInOrder) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("tabulon_passwords_" + std::to_string(::getpid()));
    std::ofstream(file, std::ios::binary) << "first\r\n\nsecond with spaces \nlast";
    const CommandLine line = parseCommandLine(
        {"--password", "x", "--password-file", file.string(), "--password=y", "a.xls"});
    EXPECT_EQ(readPasswords(line),
              (std::vector<std::string>{"x", "y", "first", "second with spaces ", "last"}));
    std::filesystem::remove(file);
    EXPECT_THROW(readPasswords(line), UsageError);
    EXPECT_THROW(parseCommandLine({"--password-file", "", "a"}), UsageError);
    EXPECT_TRUE(readPasswords(parseCommandLine({"a"})).empty());
}

}  // namespace
}  // namespace tabulon::cli

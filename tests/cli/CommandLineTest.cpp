// The command line of tabulon-cli: modes, options, paths and usage errors.
#include <gtest/gtest.h>

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

TEST(CommandLine, VerboseAndTheResultSizeLimitWithItsSuffixes) {
    const CommandLine plain = parseCommandLine({"a"});
    EXPECT_FALSE(plain.verbose);
    EXPECT_EQ(plain.maxResultSize, std::uint64_t{4} << 30);
    EXPECT_TRUE(parseCommandLine({"--verbose", "a"}).verbose);
    EXPECT_EQ(parseCommandLine({"--max-result-size", "1500", "a"}).maxResultSize, 1500u);
    EXPECT_EQ(parseCommandLine({"--max-result-size=2K", "a"}).maxResultSize, 2048u);
    EXPECT_EQ(parseCommandLine({"--max-result-size=3M", "a"}).maxResultSize, 3u << 20);
    EXPECT_EQ(parseCommandLine({"--max-result-size=1G", "a"}).maxResultSize, 1u << 30);
    for (const char* bad : {"0", "", "12X", "K", "-5", "9999999999999"}) {
        EXPECT_THROW(parseCommandLine({std::string("--max-result-size=") + bad, "a"}), UsageError)
            << bad;
    }
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

}  // namespace
}  // namespace tabulon::cli

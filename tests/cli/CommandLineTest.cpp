// The command line of tabulon-cli: modes, options, paths, usage errors, and the help text against
// the manual page and the bash completion.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>

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

TEST(CommandLine, HelpAndVersionNeedNoPath) {
    EXPECT_TRUE(parseCommandLine({"--help"}).help);
    EXPECT_TRUE(parseCommandLine({"--version"}).version);
}

TEST(CommandLine, CsvDelimitersSheetsAndList) {
    const CommandLine plain = parseCommandLine({"a"});
    EXPECT_FALSE(plain.csv);
    EXPECT_FALSE(plain.list);
    EXPECT_TRUE(plain.sheets.empty());
    EXPECT_EQ(parseCommandLine({"--csv", "a"}).delimiter, ',');
    EXPECT_EQ(parseCommandLine({"--csv", "--delimiter", "\\t", "a"}).delimiter, '\t');
    EXPECT_EQ(parseCommandLine({"--delimiter=\t", "--csv", "a"}).delimiter, '\t');
    EXPECT_EQ(parseCommandLine({"--csv", "--delimiter", ";", "a"}).delimiter, ';');
    const CommandLine line = parseCommandLine({"--sheet", "Data", "--list", "--sheet=2", "a"});
    EXPECT_TRUE(line.list);
    EXPECT_EQ(line.sheets, (std::vector<std::string>{"Data", "2"}));
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

TEST(CommandLine, JobsAndStandardOutput) {
    EXPECT_EQ(parseCommandLine({"a"}).jobs, 1);
    EXPECT_EQ(parseCommandLine({"-j", "2", "a"}).jobs, 2);
    EXPECT_EQ(parseCommandLine({"--jobs=16", "a"}).jobs, 16);
    for (const char* bad : {"0", "", "x", "2x", "-1", "257"})
        EXPECT_THROW(parseCommandLine({"--jobs", bad, "a"}), UsageError) << bad;
    EXPECT_THROW(parseCommandLine({"a", "-j"}), UsageError);
    const CommandLine toStdout = parseCommandLine({"--output", "-", "a"});
    EXPECT_EQ(toStdout.outputFolder, "-");
    EXPECT_EQ(toStdout.paths, (std::vector<std::string>{"a"}));
}

TEST(CommandLine, ValuesJoinedSeparatedOrAfterAnEqualsSignEvenWithADash) {
    for (const std::vector<std::string>& spelling : std::vector<std::vector<std::string>>{
             {"-j2", "a"}, {"-j", "2", "a"}, {"--jobs", "2", "a"}, {"--jobs=2", "a"}}) {
        EXPECT_EQ(parseCommandLine(spelling).jobs, 2) << spelling[0];
    }
    const CommandLine line =
        parseCommandLine({"--sheet", "-x-", "--password", "--csv", "--mode=sheet", "--values",
                          "--encoding", "cp437", "--skip-hidden", "--mode", "row", "a"});
    EXPECT_EQ(line.sheets, (std::vector<std::string>{"-x-"}));
    EXPECT_EQ(line.passwords, (std::vector<std::string>{"--csv"}));
    EXPECT_FALSE(line.csv);
    EXPECT_EQ(line.option, kSaveEachRowOption);  // the last --mode
    EXPECT_TRUE(line.values);
    EXPECT_EQ(line.encoding, "cp437");
    EXPECT_TRUE(line.skipHidden);
    const CommandLine plain = parseCommandLine({"a"});
    EXPECT_FALSE(plain.values);
    EXPECT_EQ(plain.encoding, "utf-8");
    EXPECT_FALSE(plain.skipHidden);
}

TEST(CommandLine, UsageErrors) {
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{},
                                               {"--mode", "books", "a"},
                                               {"--mode"},
                                               {"--output", "", "a"},
                                               {"--frobnicate", "a"},
                                               {"--mode", "row"},
                                               {"--delimiter", ";", "a"},
                                               {"--csv", "--delimiter", ";;", "a"},
                                               {"--csv", "--delimiter", "\"", "a"},
                                               {"--csv", "--delimiter", "\n", "a"},
                                               {"--csv", "--delimiter", "\xC2\xA7", "a"},
                                               {"--sheet", "", "a"},
                                               {"--encoding", "klingon", "a"},
                                               {"--encoding", "ascii//TRANSLIT", "a"},
                                               {"-x", "a"},
                                               {"--list"}}) {
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

// The long and short option names that a text names ("--jobs", "-j").
std::set<std::string> optionNames(const std::string& text) {
    static const std::regex name(R"((^|[\s,"=])(--?[a-z][a-z0-9-]*))");
    std::set<std::string> names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), name);
         it != std::sregex_iterator(); ++it)
        names.insert((*it)[2]);
    return names;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CommandLine, TheHelpTheManualPageAndTheCompletionNameTheSameOptions) {
    // The option lines of the help: those that start with a name.
    std::string helpOptions;
    std::istringstream help(helpText());
    for (std::string line; std::getline(help, line);)
        if (line.starts_with("  -")) helpOptions += line.substr(0, line.find("  ", 2)) + "\n";
    const std::set<std::string> names = optionNames(helpOptions);
    EXPECT_TRUE(names.contains("--values") && names.contains("-j")) << helpOptions;

    // The manual page: the heading line of every paragraph under OPTIONS.
    std::string page = fileText(TABULON_SOURCE_DIR "/packaging/man/tabulon-cli.1");
    ASSERT_FALSE(page.empty());
    page = std::regex_replace(page, std::regex(R"(\\-)"), "-");
    page =
        page.substr(page.find(".SH OPTIONS"), page.find(".SH OUTPUT") - page.find(".SH OPTIONS"));
    std::string headings;
    for (std::size_t at = page.find(".TP\n"); at != std::string::npos;
         at = page.find(".TP\n", at + 1))
        headings += page.substr(at + 4, page.find('\n', at + 4) - at - 4) + "\n";
    std::set<std::string> manNames = optionNames(headings);
    manNames.erase("--");  // the end of the options, which the help does not list
    EXPECT_EQ(manNames, names);

    // The completion offers every long name.
    const std::string completion = fileText(TABULON_SOURCE_DIR "/packaging/completion/tabulon-cli");
    const std::size_t list = completion.find("local options=\"");
    ASSERT_NE(list, std::string::npos);
    std::set<std::string> longNames;
    for (const std::string& name : names)
        if (name.starts_with("--")) longNames.insert(name);
    EXPECT_EQ(
        optionNames(completion.substr(list + 15, completion.find('"', list + 15) - list - 15)),
        longNames);
}

}  // namespace
}  // namespace tabulon::cli

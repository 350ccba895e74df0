// tabulon-cli as separate processes: two runs at once sharing one TEMP, links planted under the
// temporary names, interrupts, a full output disk, and its one-line messages.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <thread>

#include "ExportTestSupport.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

using testing::bytesOf;
using testing::namesIn;

// Starts tabulon-cli with TEMP set and its stderr going to a file.
pid_t startCli(const std::vector<std::string>& arguments, const fs::path& temp,
               const fs::path& errors) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("TEMP", temp.c_str(), 1);
        if (std::freopen(errors.c_str(), "w", stderr) == nullptr) ::_exit(99);
        std::vector<char*> argv = {const_cast<char*>(TABULON_CLI)};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(TABULON_CLI, argv.data());
        ::_exit(98);
    }
    return pid;
}

// The exit status, or 1000 + the signal that ended the process.
int waitFor(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

class CliSafetyTest : public ::testing::Test {
  protected:
    int runCli(const std::vector<std::string>& arguments) {
        const int status = waitFor(startCli(arguments, temp.path(), errorsFile()));
        errors = bytesOf(errorsFile());
        return status;
    }
    fs::path errorsFile() const { return folder.path() / "errors.txt"; }
    fs::path make(const std::string& name) const {
        fs::create_directories(folder.path() / name);
        return folder.path() / name;
    }
    // A workbook whose one sheet "S" has `rows` rows of a tag and a number.
    std::string tallBook(const std::string& name, const std::string& tag, int rows) {
        std::vector<testing::CellSpec> cells;
        for (int r = 1; r <= rows; ++r) {
            cells.push_back({"A" + std::to_string(r), tag});
            cells.push_back({"B" + std::to_string(r), std::to_string(r)});
        }
        return testing::writeWorkbook(folder, name, {{"S", cells}});
    }

    testing::ScratchFolder folder;
    testing::ScratchFolder temp;
    std::string errors;
};

TEST_F(CliSafetyTest, TwoRunsAtOnceOnSameNamedWorkbooksSharingTempLoseNothing) {
    make("one");
    make("two");
    const std::string books[] = {tallBook("one/report.xlsx", "one", 1500),
                                 tallBook("two/report.xlsx", "two", 1500)};
    const fs::path outs[] = {make("out1"), make("out2")};
    pid_t pids[2];
    for (int i = 0; i < 2; ++i) {
        pids[i] = startCli({"--mode", "row", "--output", outs[i].string(), books[i]}, temp.path(),
                           folder.path() / ("errors" + std::to_string(i)));
    }
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(waitFor(pids[i]), 0) << bytesOf(folder.path() / ("errors" + std::to_string(i)));
        const std::string tag = i == 0 ? "one" : "two";
        ASSERT_EQ(namesIn(outs[i]).size(), 1500u);
        for (int r : {1, 2, 750, 1500}) {
            EXPECT_EQ(bytesOf(outs[i] / ("report_S_" + std::to_string(r) + ".csv")),
                      tag + ", " + std::to_string(r) + ", \r\n\r\n\r\n");
        }
    }
    EXPECT_TRUE(fs::is_empty(temp.path()));
}

TEST_F(CliSafetyTest, LinksAndFilesPlantedUnderTheTemporaryNamesAreLeftAlone) {
    const std::string book = tallBook("report.xlsx", "mine", 20);
    const fs::path victim = folder.path() / "victim.txt";
    std::ofstream(victim) << "precious";
    fs::create_symlink(victim, temp.path() / "report_1.csv");
    for (int n = 2; n <= 20; ++n)
        fs::create_symlink(victim, temp.path() / ("report.csv_" + std::to_string(n) + ".csv"));
    std::ofstream(temp.path() / "report.csv") << "theirs";
    const auto planted = namesIn(temp.path());
    const fs::path out = make("out");
    for (const char* mode : {"row", "book"}) {
        EXPECT_EQ(runCli({"--mode", mode, "--output", out.string(), book}), 0) << errors;
    }
    EXPECT_EQ(bytesOf(out / "report_S_20.csv"), "mine, 20, \r\n\r\n\r\n");
    EXPECT_EQ(bytesOf(out / "report.csv").substr(0, 12), "mine, 1, \r\nm");
    EXPECT_EQ(bytesOf(victim), "precious");
    EXPECT_EQ(bytesOf(temp.path() / "report.csv"), "theirs");
    EXPECT_EQ(namesIn(temp.path()), planted);
}

TEST_F(CliSafetyTest, AnInterruptRemovesThePrivateFolderAndExitsWith128PlusTheSignal) {
    const std::string book = tallBook("Long.xlsx", "x", 40000);
    const fs::path out = make("out");
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
        fs::remove_all(out);
        fs::create_directories(out);
        const pid_t pid = startCli({"--mode", "row", "--output", out.string(), book}, temp.path(),
                                   errorsFile());
        // The private folder appears with the first result.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (fs::is_empty(temp.path()) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_FALSE(fs::is_empty(temp.path()));
        ::kill(pid, signal);
        EXPECT_EQ(waitFor(pid), status);
        EXPECT_TRUE(fs::is_empty(temp.path()));
    }
}

TEST_F(CliSafetyTest, AFullOutputDiskLeavesNoCutFileAndExitsOne) {
    const fs::path out = make("small");
    if (::geteuid() != 0 || ::mount("tmpfs", out.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    std::vector<testing::CellSpec> wide;
    for (int r = 1; r <= 40; ++r)
        wide.push_back({"A" + std::to_string(r), std::string(10000, 'w')});
    wide.push_back({"B2", "1"});
    const std::string big = testing::writeWorkbook(folder, "Big.xlsx", {{"S", wide}});
    const std::string small = tallBook("Small.xlsx", "s", 3);
    std::ofstream(out / "Big.csv") << "earlier";
    const int status = runCli({"--output", out.string(), big, small});
    const auto saved = namesIn(out);
    const std::string earlier = bytesOf(out / "Big.csv");
    const std::string smallCsv = bytesOf(out / "Small.csv");
    ::umount(out.c_str());
    EXPECT_EQ(status, 1);
    EXPECT_EQ(errors, "tabulon-cli: " + (out / "Big.csv").string() +
                          ": No space left on device\n"
                          "tabulon-cli: 1 of 2 results could not be saved.\n");
    EXPECT_EQ(saved, (std::vector<std::string>{"Big.csv", "Small.csv"}));
    EXPECT_EQ(earlier, "earlier");
    EXPECT_EQ(smallCsv, "s, 1, \r\ns, 2, \r\ns, 3, \r\n\r\n\r\n");
}

TEST_F(CliSafetyTest, AFullTempStopsEachResultThatCannotFitWithOneLineAndTheRunGoesOn) {
    const fs::path smallTemp = make("smalltemp");
    if (::geteuid() != 0 || ::mount("tmpfs", smallTemp.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    const std::string corners = testing::writeWorkbook(
        folder, "Corners.xlsx", {{"S", {{"A1", "a"}, {"XFD1048576", "z"}}}});
    const std::string small = tallBook("Small.xlsx", "s", 3);
    const fs::path out = make("out");
    std::vector<std::string> lines;
    // A limit above the 34 GB of the corners' separators: the free space is what stops them.
    for (const char* mode : {"sheet", "column"}) {
        const pid_t pid = startCli({"--mode", mode, "--max-result-size", "64G", "--output",
                                    out.string(), corners, small},
                                   smallTemp, errorsFile());
        EXPECT_EQ(waitFor(pid), 1);
        lines.push_back(bytesOf(errorsFile()));
    }
    const bool leftEmpty = fs::is_empty(smallTemp);
    ::umount(smallTemp.c_str());
    EXPECT_TRUE(leftEmpty);
    for (const std::string& text : lines) {
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
        EXPECT_EQ(text.rfind("tabulon-cli: " + corners + ": Result", 0), 0u) << text;
        EXPECT_NE(text.find("too large, sheet \"S\", at least 343"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find(" bytes free in the temporary folder\n"), std::string::npos) << text;
    }
    EXPECT_TRUE(fs::exists(out / "Small_S.csv"));
    EXPECT_TRUE(fs::exists(out / "Small_S_2.csv"));
}

TEST_F(CliSafetyTest, OneLinePerFailureAndTheTrapsDetailsOnlyWhenVerbose) {
    const fs::path out = make("out");
    const std::string missing = (folder.path() / "Missing.xlsx").string();
    const std::string book = tallBook("Rows.xlsx", "r", 60);
    EXPECT_EQ(runCli({"--output", out.string(), missing, book}), 1);
    EXPECT_EQ(errors, "tabulon-cli: " + missing + ": The workbook file was not found\n");
    EXPECT_TRUE(fs::exists(out / "Rows.csv"));

    EXPECT_EQ(runCli({"--verbose", "--output", out.string(), missing}), 1);
    EXPECT_NE(errors.find(missing + ": Excel1.SaveEachBook line 100: The workbook file was not "
                                    "found"),
              std::string::npos);
    EXPECT_NE(errors.find("line 102: Object variable or With block variable not set"),
              std::string::npos);

    fs::remove(out / "Rows.csv");
    EXPECT_EQ(runCli({"--max-result-size", "500", "--mode", "sheet", "--output", out.string(), book}),
              1);
    EXPECT_EQ(errors, "tabulon-cli: " + book +
                          ": Result too large, sheet \"S\", at least 502 bytes, more than the "
                          "limit of 500 bytes\n");
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_TRUE(fs::is_empty(temp.path()));
}

}  // namespace
}  // namespace tabulon

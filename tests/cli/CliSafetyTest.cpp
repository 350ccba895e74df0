// tabulon-cli as separate processes: two runs at once sharing one TEMP, folders that ended runs
// left behind, interrupts, FAT, a full output disk, and its one-line messages.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
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

// Waits until TEMP holds a run's locked folder that `known` does not, and returns its name.
std::string newFolderIn(const fs::path& temp, const std::vector<std::string>& known) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const std::string& name : namesIn(temp)) {
            if (std::find(known.begin(), known.end(), name) == known.end() &&
                fs::exists(temp / name / "lock"))
                return name;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {};
}

// Whatever ended a run, the next run removes the folder it left in TEMP; a live run's folder,
// another user's, a link and a folder without a lock that is not yet old stay as they are.
TEST_F(CliSafetyTest, TheNextRunRemovesTheFoldersOfEndedRunsAndNothingElse) {
    const std::string book = tallBook("Long.xlsx", "x", 40000);
    const std::string small = tallBook("Small.xlsx", "s", 3);
    const fs::path out = make("out");
    const auto start = [&] {
        return startCli({"--mode", "row", "--output", out.string(), book}, temp.path(),
                        errorsFile());
    };
    const pid_t killed = start();
    const std::string killedFolder = newFolderIn(temp.path(), {});
    ASSERT_FALSE(killedFolder.empty());
    ::kill(killed, SIGKILL);
    EXPECT_EQ(waitFor(killed), 1000 + SIGKILL);
    ASSERT_TRUE(fs::exists(temp.path() / killedFolder));
    const pid_t live = start();
    const std::string liveFolder = newFolderIn(temp.path(), {killedFolder});
    ASSERT_FALSE(liveFolder.empty());

    const fs::path victim = make("victim");
    std::ofstream(victim / "precious") << "precious";
    fs::create_symlink(victim, temp.path() / "tabulon-link00");
    fs::create_directories(temp.path() / "tabulon-fresh0");
    fs::create_directories(temp.path() / "tabulon-old000");
    fs::last_write_time(temp.path() / "tabulon-old000",
                        fs::file_time_type::clock::now() - std::chrono::hours(48));
    std::vector<std::string> kept = {liveFolder, "tabulon-fresh0", "tabulon-link00"};
    if (::geteuid() == 0) {
        fs::create_directories(temp.path() / "tabulon-other0");
        std::ofstream(temp.path() / "tabulon-other0" / "lock");
        ASSERT_EQ(::chown((temp.path() / "tabulon-other0").c_str(), 65534, 65534), 0);
        kept.push_back("tabulon-other0");
    }
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(runCli({"--output", out.string(), small}), 0) << errors;
    EXPECT_EQ(namesIn(temp.path()), kept);
    EXPECT_EQ(bytesOf(victim / "precious"), "precious");

    ::kill(live, SIGTERM);
    EXPECT_EQ(waitFor(live), 143);
    EXPECT_FALSE(fs::exists(temp.path() / liveFolder));
}

// The run's folder appears with its first result, the output folder's first file when the save
// has begun. Neither the run's folder nor a file being saved stays behind.
TEST_F(CliSafetyTest, AnInterruptRemovesThePrivateFolderAndExitsWith128PlusTheSignal) {
    const std::string book = tallBook("Long.xlsx", "x", 40000);
    const fs::path out = make("out");
    struct Case {
        int signal;
        int status;
        bool duringSave;
    };
    for (const Case c :
         {Case{SIGINT, 130, false}, Case{SIGTERM, 143, true}, Case{SIGHUP, 129, false}}) {
        fs::remove_all(out);
        fs::create_directories(out);
        const pid_t pid = startCli({"--mode", "row", "--output", out.string(), book}, temp.path(),
                                   errorsFile());
        const fs::path watched = c.duringSave ? out : temp.path();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (fs::is_empty(watched) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_FALSE(fs::is_empty(watched));
        ::kill(pid, c.signal);
        EXPECT_EQ(waitFor(pid), c.status);
        EXPECT_TRUE(fs::is_empty(temp.path()));
        for (const std::string& name : namesIn(out)) EXPECT_FALSE(name.ends_with(".part")) << name;
    }
}

// A FAT file system as TEMP and as the output folder: it has no hard links, and names that
// differ only in case are one file there.
TEST_F(CliSafetyTest, FatAsTempAndAsTheOutputFolderLosesNothing) {
    const fs::path mounted = make("fat");
    const std::string image = (folder.path() / "fat.img").string();
    if (::geteuid() != 0 || !fs::exists("/dev/fuse") ||
        std::system(("mkfs.vfat -C " + image + " 32768 >/dev/null 2>&1").c_str()) != 0 ||
        std::system(("fusefat -o rw+ " + image + " " + mounted.string() + " >/dev/null 2>&1")
                        .c_str()) != 0) {
        GTEST_SKIP() << "no FAT file system can be mounted here (root, /dev/fuse, mkfs.vfat and "
                        "fusefat are needed)";
    }
    fs::create_directories(mounted / "temp");
    fs::create_directories(mounted / "out");
    make("a");
    make("b");
    const std::string large = tallBook("a/Report.xlsx", std::string(70, 'a'), 1500);
    const std::string other = tallBook("b/report.xlsx", "b", 2);
    const pid_t pid = startCli({"--output", (mounted / "out").string(), large, other},
                               mounted / "temp", errorsFile());
    const int status = waitFor(pid);
    const auto saved = namesIn(mounted / "out");
    const std::string first = bytesOf(mounted / "out" / "Report.csv");
    const std::string second = bytesOf(mounted / "out" / "report (2).csv");
    const bool tempLeftEmpty = fs::is_empty(mounted / "temp");
    EXPECT_EQ(std::system(("umount " + mounted.string()).c_str()), 0);
    EXPECT_EQ(status, 0) << bytesOf(errorsFile());
    EXPECT_EQ(saved, (std::vector<std::string>{"Report.csv", "report (2).csv"}));
    EXPECT_TRUE(first.starts_with(std::string(70, 'a') + ", 1, \r\n")) << first.substr(0, 80);
    EXPECT_EQ(first.size(), 118897u);  // 1500 lines of 76 bytes and the row's digits, 2 ends
    EXPECT_EQ(second, "b, 1, \r\nb, 2, \r\n\r\n\r\n");
    EXPECT_TRUE(tempLeftEmpty);
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

// tabulon-cli as separate processes: two runs at once sharing one TEMP, folders that ended runs
// left behind, interrupts, FAT, a full output disk, and its one-line messages.
#include <sys/mount.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <tuple>

#include "CliProcess.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

using testing::bytesOf;
using testing::ChildProcess;
using testing::CliOutput;
using testing::namesIn;

class CliSafetyTest : public testing::CliProcessTest {
  protected:
    ChildProcess startCli(const std::vector<std::string>& arguments, const fs::path& runTemp) {
        return ChildProcess(TABULON_CLI, arguments, {.temp = runTemp});
    }
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
    // Starts a run in row mode whose results stream to stdout, and waits until the first of
    // them arrive; the run then waits at the full pipe. Returns the run's new folder in TEMP.
    std::string startHeld(std::optional<ChildProcess>& run, const std::string& book) {
        const std::vector<std::string> before = namesIn(temp.path());
        run.emplace(TABULON_CLI, std::vector<std::string>{"--mode", "row", "--output", "-", book},
                    testing::ProcessSetup{.temp = temp.path(), .heldAtPipe = true});
        EXPECT_FALSE(run->firstOutput().empty());
        for (const std::string& name : namesIn(temp.path()))
            if (std::find(before.begin(), before.end(), name) == before.end()) return name;
        return {};
    }
};

TEST_F(CliSafetyTest, TwoRunsAtOnceOnSameNamedWorkbooksSharingTempLoseNothing) {
    make("one");
    make("two");
    const std::string books[] = {tallBook("one/report.xlsx", "one", 1500),
                                 tallBook("two/report.xlsx", "two", 1500)};
    const fs::path outs[] = {make("out1"), make("out2")};
    ChildProcess runs[] = {
        startCli({"--mode", "row", "--output", outs[0].string(), books[0]}, temp.path()),
        startCli({"--mode", "row", "--output", outs[1].string(), books[1]}, temp.path())};
    for (int i = 0; i < 2; ++i) {
        const CliOutput run = runs[i].finish();
        EXPECT_EQ(run.status, 0) << run.err;
        const std::string tag = i == 0 ? "one" : "two";
        ASSERT_EQ(namesIn(outs[i]).size(), 1500u);
        for (int r : {1, 2, 750, 1500}) {
            EXPECT_EQ(bytesOf(outs[i] / ("report_S_" + std::to_string(r) + ".csv")),
                      tag + ", " + std::to_string(r) + ", \r\n\r\n\r\n");
        }
    }
    EXPECT_TRUE(fs::is_empty(temp.path()));
}

// Whatever ended a run, the next run removes the folder it left in TEMP; a live run's folder,
// another user's, a link and a folder without a lock that is not yet old stay as they are.
TEST_F(CliSafetyTest, TheNextRunRemovesTheFoldersOfEndedRunsAndNothingElse) {
    const std::string book = tallBook("Long.xlsx", "x", 40000);
    const std::string small = tallBook("Small.xlsx", "s", 3);
    std::optional<ChildProcess> killed;
    std::optional<ChildProcess> live;
    const std::string killedFolder = startHeld(killed, book);
    ASSERT_FALSE(killedFolder.empty());
    ::kill(killed->pid(), SIGKILL);
    EXPECT_EQ(killed->finish().status, 1000 + SIGKILL);
    ASSERT_TRUE(fs::exists(temp.path() / killedFolder));
    const std::string liveFolder = startHeld(live, book);
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
    const CliOutput run = runCli({"--output", make("out").string(), small});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(namesIn(temp.path()), kept);
    EXPECT_EQ(bytesOf(victim / "precious"), "precious");

    ::kill(live->pid(), SIGTERM);
    EXPECT_EQ(live->finish().status, 143);
    EXPECT_FALSE(fs::exists(temp.path() / liveFolder));
}

// A signal while the results stream to stdout, or while they are saved (where a folder in the
// place of each of the results 2 to 200 makes a line on stderr): the run waits at the full pipe
// when the signal comes. Neither the run's folder nor a file being saved stays behind.
TEST_F(CliSafetyTest, AnInterruptRemovesThePrivateFolderAndExitsWith128PlusTheSignal) {
    const std::string book = tallBook("Long.xlsx", "x", 40000);
    const fs::path out = make("out");
    for (int r = 2; r <= 200; ++r)
        fs::create_directories(out / ("Long_S_" + std::to_string(r) + ".csv"));
    for (const auto& [signal, status, duringSave] :
         {std::tuple{SIGINT, 130, false}, {SIGTERM, 143, true}, {SIGHUP, 129, false}}) {
        ChildProcess run(TABULON_CLI,
                         {"--mode", "row", "--output", duringSave ? out.string() : "-", book},
                         {.temp = temp.path(), .heldAtPipe = true});
        const std::string first = run.firstOutput();
        EXPECT_EQ(first.starts_with("tabulon-cli: " + (out / "Long_S_2.csv").string()), duringSave)
            << first;
        ::kill(run.pid(), signal);
        EXPECT_EQ(run.finish().status, status);
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
        std::system(
            ("fusefat -o rw+ " + image + " " + mounted.string() + " >/dev/null 2>&1").c_str()) !=
            0) {
        GTEST_SKIP() << "no FAT file system can be mounted here (root, /dev/fuse, mkfs.vfat and "
                        "fusefat are needed)";
    }
    fs::create_directories(mounted / "temp");
    fs::create_directories(mounted / "out");
    make("a");
    make("b");
    const std::string large = tallBook("a/Report.xlsx", std::string(70, 'a'), 1500);
    const std::string other = tallBook("b/report.xlsx", "b", 2);
    const CliOutput run =
        startCli({"--output", (mounted / "out").string(), large, other}, mounted / "temp").finish();
    const auto saved = namesIn(mounted / "out");
    const std::string first = bytesOf(mounted / "out" / "Report.csv");
    const std::string second = bytesOf(mounted / "out" / "report (2).csv");
    const bool tempLeftEmpty = fs::is_empty(mounted / "temp");
    EXPECT_EQ(std::system(("umount " + mounted.string()).c_str()), 0);
    EXPECT_EQ(run.status, 0) << run.err;
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
    const CliOutput run = runCli({"--output", out.string(), big, small});
    const auto saved = namesIn(out);
    const std::string earlier = bytesOf(out / "Big.csv");
    const std::string smallCsv = bytesOf(out / "Small.csv");
    ::umount(out.c_str());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tabulon-cli: " + (out / "Big.csv").string() +
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
    const std::string corners =
        testing::writeWorkbook(folder, "Corners.xlsx", {{"S", {{"A1", "a"}, {"XFD1048576", "z"}}}});
    const std::string small = tallBook("Small.xlsx", "s", 3);
    const fs::path out = make("out");
    std::vector<std::string> lines;
    // A limit above the 34 GB of the corners' separators: the free space is what stops them.
    for (const char* mode : {"sheet", "column"}) {
        const CliOutput run = startCli({"--mode", mode, "--max-result-size", "64G", "--output",
                                        out.string(), corners, small},
                                       smallTemp)
                                  .finish();
        EXPECT_EQ(run.status, 1);
        lines.push_back(run.err);
    }
    const bool leftEmpty = fs::is_empty(smallTemp);
    ::umount(smallTemp.c_str());
    EXPECT_TRUE(leftEmpty);
    for (const std::string& text : lines) {
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
        EXPECT_EQ(text.rfind("tabulon-cli: " + corners + ": Result", 0), 0u) << text;
        EXPECT_NE(text.find("too large, sheet \"S\", at least 343"), std::string::npos) << text;
        EXPECT_NE(text.find(" bytes free in the temporary folder\n"), std::string::npos) << text;
    }
    EXPECT_TRUE(fs::exists(out / "Small_S.csv"));
    EXPECT_TRUE(fs::exists(out / "Small_S_2.csv"));
}

TEST_F(CliSafetyTest, OneLinePerFailureAndTheTrapsDetailsOnlyWhenVerbose) {
    const fs::path out = make("out");
    const std::string missing = (folder.path() / "Missing.xlsx").string();
    const std::string book = tallBook("Rows.xlsx", "r", 60);
    CliOutput run = runCli({"--output", out.string(), missing, book});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tabulon-cli: " + missing + ": The workbook file was not found\n");
    EXPECT_TRUE(fs::exists(out / "Rows.csv"));

    run = runCli({"--verbose", "--output", out.string(), missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(missing + ": Excel1.SaveEachBook line 100: The workbook file was not "
                                     "found"),
              std::string::npos);
    EXPECT_NE(run.err.find("line 102: Object variable or With block variable not set"),
              std::string::npos);

    fs::remove(out / "Rows.csv");
    run = runCli({"--max-result-size", "500", "--mode", "sheet", "--output", out.string(), book});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tabulon-cli: " + book +
                           ": Result too large, sheet \"S\", at least 502 bytes, more than the "
                           "limit of 500 bytes\n");
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_TRUE(fs::is_empty(temp.path()));
}

}  // namespace
}  // namespace tabulon

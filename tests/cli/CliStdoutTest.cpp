// tabulon-cli --output -: the results on standard output, run as a process with its stdout on a
// pipe.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ExportTestSupport.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

using testing::bytesOf;
using testing::namesIn;

struct CliOutput {
    int status = -1;  // the exit status, or 1000 + the signal that ended the process
    std::string out;
    std::string err;
};

class CliStdoutTest : public ::testing::Test {
  protected:
    // Runs tabulon-cli in `workFolder` with TEMP set; stdout comes back through a pipe, which
    // is closed at once when `closeStdout` is set.
    CliOutput runCli(const std::vector<std::string>& arguments, bool closeStdout = false) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return {};
        const fs::path errors = folder.path() / "errors.txt";
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(pipeEnds[0]);
            ::dup2(pipeEnds[1], STDOUT_FILENO);
            if (std::freopen(errors.c_str(), "w", stderr) == nullptr) ::_exit(99);
            if (::chdir(workFolder.path().c_str()) != 0) ::_exit(97);
            ::setenv("TEMP", temp.path().c_str(), 1);
            std::vector<char*> argv = {const_cast<char*>(TABULON_CLI)};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(TABULON_CLI, argv.data());
            ::_exit(98);
        }
        ::close(pipeEnds[1]);
        CliOutput run;
        if (closeStdout) ::close(pipeEnds[0]);
        char buffer[65536];
        for (ssize_t got; !closeStdout && (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
            run.out.append(buffer, static_cast<std::size_t>(got));
        if (!closeStdout) ::close(pipeEnds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
        run.err = bytesOf(errors);
        return run;
    }

    testing::ScratchFolder folder;
    testing::ScratchFolder workFolder;
    testing::ScratchFolder temp;
};

TEST_F(CliStdoutTest, StdoutHoldsWhatTheFilesWouldHoldInSaveOrderAndNothingIsWritten) {
    fs::create_directories(folder.path() / "a");
    fs::create_directories(folder.path() / "b");
    // Two workbooks of the same name: the second one's sheet "S" is saved as "report_S (2).csv".
    const std::string first =
        testing::writeWorkbook(folder, "a/report.xlsx",
                               {{"S", {{"A1", "one, two"}, {"B1", "say \"hi\""}, {"A2", "3.5"}}},
                                {"T", {{"A1", "t"}, {"C2", "tail"}}}});
    const std::string second =
        testing::writeWorkbook(folder, "b/report.xlsx", {{"S", {{"A1", "second"}, {"B3", "x"}}}});
    for (const bool csv : {false, true}) {
        SCOPED_TRACE(csv ? "--csv" : "window format");
        const fs::path out = folder.path() / (csv ? "out-csv" : "out-window");
        fs::create_directories(out);
        std::vector<std::string> arguments = {"--mode", "sheet"};
        if (csv) arguments.push_back("--csv");
        std::vector<std::string> toFolder = arguments;
        toFolder.insert(toFolder.end(), {"--output", out.string(), first, second});
        const CliOutput saved = runCli(toFolder);
        ASSERT_EQ(saved.status, 0) << saved.err;
        ASSERT_EQ(namesIn(out),
                  (std::vector<std::string>{"report_S (2).csv", "report_S.csv", "report_T.csv"}));
        const std::string expected = bytesOf(out / "report_S.csv") + bytesOf(out / "report_T.csv") +
                                     bytesOf(out / "report_S (2).csv");

        arguments.insert(arguments.end(), {"--output", "-", first, second});
        const CliOutput streamed = runCli(arguments);
        EXPECT_EQ(streamed.status, 0);
        EXPECT_EQ(streamed.err, "");
        EXPECT_EQ(streamed.out, expected);
        EXPECT_TRUE(fs::is_empty(workFolder.path()));
        EXPECT_TRUE(fs::is_empty(temp.path()));
    }
    // The two formats differ on these cells, so each run above was checked in its own format.
    EXPECT_NE(bytesOf(folder.path() / "out-csv" / "report_S.csv"),
              bytesOf(folder.path() / "out-window" / "report_S.csv"));
}

TEST_F(CliStdoutTest, AClosedPipeEndsTheRunWithOneLineAndExitOne) {
    std::vector<testing::CellSpec> cells;
    for (int r = 1; r <= 3000; ++r) {
        cells.push_back({"A" + std::to_string(r), std::string(100, 'x')});
        cells.push_back({"B" + std::to_string(r), std::to_string(r)});
    }
    const std::string book = testing::writeWorkbook(folder, "Tall.xlsx", {{"S", cells}});
    const std::string missing = (folder.path() / "Missing.xlsx").string();
    // Far more than a pipe holds, and a failing workbook after it that is never reached.
    const CliOutput run = runCli({"--mode", "row", "--output", "-", book, missing}, true);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tabulon-cli: standard output: Broken pipe\n");
    EXPECT_TRUE(fs::is_empty(workFolder.path()));
    EXPECT_TRUE(fs::is_empty(temp.path()));
}

}  // namespace
}  // namespace tabulon

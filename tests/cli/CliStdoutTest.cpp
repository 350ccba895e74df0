// tabulon-cli --output -: the results on standard output, run as a process with its stdout on a
// pipe.
#include "CliProcess.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

using testing::bytesOf;
using testing::CliOutput;
using testing::namesIn;

using CliStdoutTest = testing::CliProcessTest;

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
    // Far more than a pipe holds, and a failing workbook after it that is never reached (with
    // -j 2 it is exported at once, but its line is never written).
    for (const std::string jobs : {"1", "2"}) {
        SCOPED_TRACE("-j " + jobs);
        const CliOutput run =
            runCli({"-j", jobs, "--mode", "row", "--output", "-", book, missing}, true);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "tabulon-cli: standard output: Broken pipe\n");
        EXPECT_TRUE(fs::is_empty(workFolder.path()));
        EXPECT_TRUE(fs::is_empty(temp.path()));
    }
}

}  // namespace
}  // namespace tabulon

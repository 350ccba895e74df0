// tabulon-cli -j N: several workbooks at once give the files, names, bytes and stderr lines of
// one at a time, failed saves included.
#include "CliProcess.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

using testing::CliOutput;
using testing::contentsOf;

using CliJobsTest = testing::CliProcessTest;

TEST_F(CliJobsTest, SeveralAtOnceSaveAndReportExactlyAsOneAtATime) {
    // A large workbook first, so that later ones are done before it; workbooks of the same name
    // in two folders, whose results meet; a damaged workbook and a missing one among them.
    std::vector<testing::CellSpec> tall;
    for (int r = 1; r <= 4000; ++r) {
        tall.push_back({"A" + std::to_string(r), "row"});
        tall.push_back({"B" + std::to_string(r), std::to_string(r)});
    }
    const fs::path books = folder.path() / "books";
    fs::create_directories(books / "a");
    fs::create_directories(books / "b");
    testing::writeWorkbook(folder, "books/a/Big.xlsx",
                           {{"S", tall}, {"T", {{"A1", "t"}, {"B1", "u"}}}});
    testing::writeWorkbook(folder, "books/a/report.xlsx", {{"S", {{"A1", "a"}, {"B2", "1"}}}});
    testing::writeWorkbook(folder, "books/b/report.xlsx", {{"S", {{"A1", "b"}, {"B2", "2"}}}});
    folder.createFile("books/b/Damaged.xlsx");
    testing::writeWorkbook(folder, "books/b/zlast.xlsx",
                           {{"S", {{"A1", "z"}, {"B2", "y"}}}, {"S2", {{"A1", "w"}, {"B2", "v"}}}});
    const std::string missing = (books / "Missing.xlsx").string();

    for (const std::string mode : {"sheet", "book"}) {
        SCOPED_TRACE(mode);
        std::vector<std::map<std::string, std::string>> outputs;
        std::vector<std::string> errorLines;
        std::vector<std::string> streamed;
        for (const std::string jobs : {"1", "2", "3"}) {
            SCOPED_TRACE("-j " + jobs);
            const fs::path out = folder.path() / ("out-" + mode + jobs);
            // A folder where a result's file would go: that save fails and is reported, with
            // --verbose under the workbook that made the result.
            fs::create_directories(out / "zlast.csv");
            fs::create_directories(out / "zlast_S2.csv");
            const CliOutput saved = runCli({"-j", jobs, "--verbose", "--mode", mode, "--output",
                                            out.string(), books.string(), missing});
            EXPECT_EQ(saved.status, 1);
            outputs.push_back(contentsOf(out));
            // The output folder, the one thing that differs, named alike.
            std::string err = saved.err;
            for (std::size_t at; (at = err.find(out.string())) != std::string::npos;)
                err.replace(at, out.string().size(), "OUT");
            errorLines.push_back(err);
            const CliOutput toStdout = runCli(
                {"--jobs=" + jobs, "--mode", mode, "--output", "-", books.string(), missing});
            EXPECT_EQ(toStdout.status, 1);
            streamed.push_back(toStdout.out + toStdout.err);
            EXPECT_TRUE(fs::is_empty(temp.path()));
        }
        ASSERT_FALSE(outputs[0].empty());
        EXPECT_NE(errorLines[0].find("Damaged.xlsx"), std::string::npos);
        EXPECT_NE(errorLines[0].find("Missing.xlsx"), std::string::npos);
        EXPECT_NE(errorLines[0].find("zlast.xlsx: Form2.PushButton6_Click line 106"),
                  std::string::npos);
        for (std::size_t k = 1; k < outputs.size(); ++k) {
            EXPECT_EQ(outputs[k], outputs[0]);
            EXPECT_EQ(errorLines[k], errorLines[0]);
            EXPECT_EQ(streamed[k], streamed[0]);
        }
    }
    EXPECT_TRUE(fs::is_empty(workFolder.path()));
}

}  // namespace
}  // namespace tabulon

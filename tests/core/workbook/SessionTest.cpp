// The application object, the workbook collection and the session around them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ScratchFolder.h"
#include "XlsxPackage.h"
#include "core/Error.h"
#include "core/workbook/Session.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;

class SessionTest : public ::testing::Test {
  protected:
    std::string writeBook(const std::string& name, const std::string& sheetName) {
        const std::string path = folder_.file(name);
        testing::XlsxPackage::workbook(
            {testing::HandSheet(sheetName, "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>")})
            .write(path);
        return path;
    }
    void fakeProcess(const std::string& pid, const std::string& comm, const std::string& cmdline) {
        const fs::path dir = folder_.path() / "proc" / pid;
        fs::create_directories(dir);
        std::ofstream(dir / "comm") << comm << "\n";
        std::ofstream(dir / "cmdline", std::ios::binary) << cmdline;
    }
    std::string procRoot() const { return (folder_.path() / "proc").string(); }

    testing::ScratchFolder folder_;
};

TEST_F(SessionTest, WorkbooksCountIndexAndClose) {
    Application app;
    EXPECT_EQ(app.workbooks().count(), 0);
    app.workbooks().open(writeBook("a.xlsx", "First"));
    app.workbooks().open(writeBook("b.xlsx", "Second"));
    ASSERT_EQ(app.workbooks().count(), 2);
    EXPECT_EQ(app.workbooks().item(2).worksheet(0).name(), "Second");
    EXPECT_EQ(app.workbooks().item(1).worksheet(0).name(), "First");
    for (const int n : {0, 3, -1}) {
        try {
            app.workbooks().item(n);
            ADD_FAILURE() << "no error for item " << n;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "Subscript out of range");
        }
    }
    app.setDisplayAlerts(false);
    EXPECT_FALSE(app.displayAlerts());
    app.workbooks().close();
    EXPECT_EQ(app.workbooks().count(), 0);
}

TEST_F(SessionTest, AfterQuitEveryUseFails) {
    auto app = OpenInNewExcel(writeBook("a.xlsx", "S"));
    Workbooks& books = app->workbooks();
    app->quit();
    EXPECT_THROW(app->workbooks(), Error);
    EXPECT_THROW(books.count(), Error);
    EXPECT_THROW(books.item(1), Error);
    EXPECT_THROW(books.close(), Error);
    EXPECT_THROW(books.open(writeBook("b.xlsx", "S")), Error);
    EXPECT_THROW(app->setDisplayAlerts(false), Error);
    EXPECT_THROW(app->quit(), Error);
}

TEST_F(SessionTest, OpenInNewExcelGivesAFreshInstanceOrTheOpenError) {
    const std::string path = writeBook("a.xlsx", "S");
    auto first = OpenInNewExcel(path);
    auto second = OpenInNewExcel(path);
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(first->workbooks().count(), 1);
    EXPECT_EQ(second->workbooks().count(), 1);

    const std::string missing = folder_.file("missing.xlsx");
    try {
        OpenInNewExcel(missing);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "The workbook file was not found: " + missing);
    }
}

TEST_F(SessionTest, SpreadsheetProcessesOfTheUserAreFound) {
    fakeProcess("100", "bash", std::string("/bin/bash\0-l\0", 12));
    fakeProcess("101", "kworker/0:1", "");
    fs::create_directories(folder_.path() / "proc" / "self");
    EXPECT_FALSE(isSpreadsheetProcessRunning(procRoot()));

    fakeProcess("200", "soffice.bin",
                std::string("/usr/lib/libreoffice/program/soffice.bin\0", 42));
    EXPECT_TRUE(isSpreadsheetProcessRunning(procRoot()));
}

TEST_F(SessionTest, AnInstanceWithoutAWindowDoesNotCount) {
    const std::string program = "/usr/lib/libreoffice/program/soffice.bin";
    const struct {
        std::vector<std::string> options;
        bool counts;
    } cases[] = {
        {{"--headless", "--convert-to", "csv", "a.xlsx"}, false},
        {{"--convert-to", "pdf", "a.ods"}, false},
        {{"-invisible"}, false},
        {{"--headless=1"}, false},
        {{"--calc", "a.xlsx"}, true},
        // Only options count: a file named like one does not.
        {{"--calc", "headless"}, true},
    };
    for (const auto& c : cases) {
        std::string cmdline = program + '\0';
        for (const std::string& option : c.options) cmdline += option + '\0';
        fakeProcess("400", "soffice.bin", cmdline);
        EXPECT_EQ(isSpreadsheetProcessRunning(procRoot()), c.counts) << c.options.front();
        fs::remove_all(folder_.path() / "proc");
    }
}

TEST_F(SessionTest, GnumericAndWineProgramsCountToo) {
    fakeProcess("300", "gnumeric", "gnumeric\0");
    EXPECT_TRUE(isSpreadsheetProcessRunning(procRoot()));
    fs::remove_all(folder_.path() / "proc");
    // Wine: comm is cut to 15 characters or names the loader; the command line names EXCEL.EXE.
    fakeProcess("301", "wine64-preloade",
                std::string("C:\\Program Files\\Microsoft Office\\Office16\\EXCEL.EXE\0/e\0", 56));
    EXPECT_TRUE(isSpreadsheetProcessRunning(procRoot()));
}

TEST_F(SessionTest, AnUnreadableProcessFolderCountsAsNotRunning) {
    EXPECT_FALSE(isSpreadsheetProcessRunning(folder_.file("no-such-proc")));
    EXPECT_FALSE(isSpreadsheetProcessRunning(""));
}

}  // namespace
}  // namespace tabulon::workbook

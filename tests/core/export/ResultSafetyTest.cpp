// Results kept safely: files made only inside the run's private folder and never through a
// link, a full temporary folder, results too large to build, a full output disk, saves that
// leave no cut file, names that meet in one save, and the end message of a save.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <thread>

#include "ExportTestSupport.h"
#include "core/export/DistinctNames.h"
#include "core/export/ExportDriver.h"
#include "core/export/ExportModes.h"
#include "core/export/ResultFile.h"
#include "core/export/SaveResults.h"
#include "core/util/FileSink.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;

using testing::bytesOf;
using testing::namesIn;

// A disk with room for no more than `room` bytes in one write: larger writes fail as on a full
// disk, after taking what fits.
std::atomic<std::size_t> roomLeft{0};
ssize_t writeIntoFullDisk(int fd, const void* data, std::size_t size) {
    if (size > roomLeft) {
        if (roomLeft > 0) static_cast<void>(::write(fd, data, roomLeft));
        errno = ENOSPC;
        return -1;
    }
    return ::write(fd, data, size);
}

class FullDisk {
  public:
    explicit FullDisk(std::size_t room) {
        roomLeft = room;
        SetWriteCall(&writeIntoFullDisk);
    }
    ~FullDisk() { SetWriteCall(nullptr); }
};

class ResultSafetyTest : public ::testing::Test, protected testing::ExportFixture {
  protected:
    void exportWith(ExportMode mode, const std::string& path) {
        std::string baseName = GetFileName(StripExtension(path));
        const std::string separator = ", ";
        mode(context, path, baseName, separator, resultIndex);
    }
    std::string book(const std::string& name, const std::vector<testing::SheetSpec>& sheets) {
        return testing::writeWorkbook(workbooks, name, sheets);
    }
    std::int32_t resultIndex = 1;
};

TEST(FileSink, NeverOpensAnExistingFileOrALink) {
    testing::ScratchFolder folder;
    const fs::path victim = folder.path() / "victim";
    std::ofstream(victim) << "keep";
    fs::create_symlink(victim, folder.path() / "link");
    fs::create_symlink(folder.path() / "nowhere", folder.path() / "dangling");
    for (const char* name : {"victim", "link", "dangling"}) {
        try {
            FileSink sink((folder.path() / name).string());
            ADD_FAILURE() << name << " was opened";
        } catch (const FileError& e) {
            EXPECT_EQ(e.reason(), "File exists") << name;
        }
    }
    EXPECT_EQ(bytesOf(victim), "keep");
    EXPECT_FALSE(fs::exists(folder.path() / "nowhere"));
}

TEST_F(ResultSafetyTest, FilesPlantedUnderTheTemporaryNamesAreNeitherFollowedNorTouched) {
    const auto path = book("report.xlsx", {{"S", {{"A1", "a"}, {"B3", "b"}}}});
    const fs::path victim = workbooks.path() / "victim.txt";
    std::ofstream(victim) << "precious";
    // Every name that the row mode's temporary files take in the temporary folder.
    for (const char* name : {"report_1.csv", "report.csv_2.csv", "report.csv_3.csv"})
        fs::create_symlink(victim, temp.path() / name);
    std::ofstream(temp.path() / "report.csv") << "someone else's";
    const auto before = namesIn(temp.path());

    exportWith(&SaveEachRow, path);
    exportWith(&SaveEachBook, path);
    EXPECT_TRUE(ui.errors.empty());
    ASSERT_EQ(resultTexts.size(), 4u);
    EXPECT_EQ(resultTexts[0].read(), "a, , \r\n\r\n");
    EXPECT_EQ(resultTexts[3].read(), "a, , \r\n, , \r\n, b, \r\n\r\n");
    EXPECT_EQ(bytesOf(victim), "precious");
    EXPECT_EQ(bytesOf(temp.path() / "report.csv"), "someone else's");

    // The run's own folder is private and is all that the run adds; removing it leaves the
    // temporary folder as it was.
    const fs::path runFolder = resultTexts.folder().current();
    EXPECT_EQ(runFolder.parent_path(), temp.path());
    EXPECT_EQ(fs::status(runFolder).permissions() & fs::perms::all, fs::perms::owner_all);
    resultTexts.reset();
    EXPECT_EQ(namesIn(temp.path()), before);
}

TEST_F(ResultSafetyTest, TwoRunsAtOnceOnSameNamedWorkbooksKeepTheirOwnResults) {
    fs::create_directories(workbooks.path() / "one");
    fs::create_directories(workbooks.path() / "two");
    std::vector<testing::CellSpec> first;
    std::vector<testing::CellSpec> second;
    for (int r = 1; r <= 300; ++r) {
        first.push_back({"A" + std::to_string(r), "one" + std::to_string(r)});
        second.push_back({"B" + std::to_string(r), "two" + std::to_string(r)});
    }
    first.push_back({"B1", "x"});
    second.push_back({"A1", "y"});
    const std::string paths[] = {book("one/report.xlsx", {{"S", first}}),
                                 book("two/report.xlsx", {{"S", second}})};
    struct Run {
        testing::ScriptedUi ui;
        ResultStore texts;
        testing::RecordingHost host{nullptr};
    };
    Run runs[2];
    std::thread threads[2];
    for (int i = 0; i < 2; ++i) {
        threads[i] = std::thread([&, i] {
            ExportContext context{runs[i].ui, runs[i].ui, runs[i].host, runs[i].texts};
            std::string baseName = "report";
            const std::string separator = ", ";
            std::int32_t index = 1;
            SaveEachRow(context, paths[i], baseName, separator, index);
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(runs[i].ui.errors.empty());
        ASSERT_EQ(runs[i].texts.size(), 300u);
        const std::string own = i == 0 ? "one" : "two";
        for (std::size_t k = 1; k < 300; ++k) {
            const std::string text = runs[i].texts[k].read();
            ASSERT_NE(text.find(own + std::to_string(k + 1) + ", "), std::string::npos) << text;
        }
    }
    EXPECT_NE(runs[0].texts.folder().current(), runs[1].texts.folder().current());
}

TEST_F(ResultSafetyTest, AFullTemporaryFolderStopsOneResultAndTheRunGoesOn) {
    const auto path = book("Full.xlsx", {{"Big", {{"A1", std::string(5000, 'x')}, {"B2", "1"}}},
                                         {"Small", {{"A1", "a"}, {"B2", "b"}}}});
    {
        const FullDisk disk(0);
        exportWith(&SaveEachSheet, path);
    }
    ASSERT_EQ(ui.errors.size(), 2u);
    for (const auto& error : ui.errors) {
        EXPECT_EQ(error.line, 142);
        EXPECT_EQ(error.file, path);
    }
    EXPECT_EQ(ui.errors[0].description,
              "No space left on device in the temporary folder, sheet \"Big\", after 5015 bytes: " +
                  path);
    EXPECT_EQ(ui.errors[1].description,
              "No space left on device in the temporary folder, sheet \"Small\", after 16 bytes: " +
                  path);
    EXPECT_TRUE(resultTexts.empty());
    EXPECT_TRUE(namesIn(resultTexts.folder().current()).empty());  // nothing cut is left

    ui.errors.clear();
    exportWith(&SaveEachSheet, path);  // room again: both results come
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(resultTexts.size(), 2u);
}

TEST_F(ResultSafetyTest, AResultPastTheSizeLimitIsStoppedAndTheNextOneIsKept) {
    ResultStore small(1000);
    ExportContext limited{ui, ui, host, small};
    const auto path = book("Limit.xlsx", {{"Wide", {{"A1", std::string(2000, 'w')}, {"B2", "1"}}},
                                          {"Fine", {{"A1", "a"}, {"B2", "b"}}}});
    std::string baseName = "Limit";
    const std::string separator = ", ";
    SaveEachSheet(limited, path, baseName, separator, resultIndex);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].description,
              "Result too large, sheet \"Wide\", at least 2002 bytes, more than the limit of "
              "1000 bytes: " +
                  path);
    ASSERT_EQ(small.size(), 1u);
    EXPECT_EQ(small[0].read(), "a, , \r\n, b, \r\n\r\n");
    EXPECT_EQ(host.rows.at(0).subItem1, "Fine");
}

TEST_F(ResultSafetyTest, AUsedRangeWhoseSeparatorsAlonePassTheLimitIsRefusedBeforeItIsBuilt) {
    const auto path = book("Corners.xlsx", {{"S", {{"A1", "a"}, {"XFD1048576", "z"}}}});
    exportWith(&SaveEachSheet, path);
    exportWith(&SaveEachBook, path);
    ASSERT_EQ(ui.errors.size(), 2u);
    for (const auto& error : ui.errors) {
        EXPECT_NE(error.description.find("Result too large, sheet \"S\", at least 34361835522 "
                                         "bytes, more than"),
                  std::string::npos)
            << error.description;
    }
    // Row and column results are each small, but together they would pass the limit: the sheet
    // is refused before its first row or column, whatever room the temporary folder has.
    exportWith(&SaveEachRow, path);
    exportWith(&SaveEachCol, path);
    ASSERT_EQ(ui.errors.size(), 4u);
    EXPECT_EQ(ui.errors[2].description,
              "Results too large, sheet \"S\", at least 34361835520 bytes, more than the limit "
              "of 4294967296 bytes: " +
                  path);
    EXPECT_NE(ui.errors[3].description.find("Results too large, sheet \"S\", at least "),
              std::string::npos)
        << ui.errors[3].description;
    EXPECT_TRUE(resultTexts.empty());
    EXPECT_TRUE(host.rows.empty());
}

class SaveSafetyTest : public ::testing::Test {
  protected:
    void keep(const std::vector<std::string>& texts) {
        store.reset();
        for (const std::string& text : texts) testing::storeText(store, text);
    }
    void save(const std::string& option, std::vector<ResultRow> rows) {
        SaveResultFiles(SaveRequest{out.path().string(), option, std::move(rows), store}, ui, ui);
    }
    testing::ScratchFolder out;
    testing::ScratchFolder temp;
    testing::TempEnvironment tempEnvironment{temp.path().string()};
    testing::ScriptedUi ui;
    ResultStore store;
};

// Saves go through files with no name where the system allows it, else through temporary names;
// each case runs both ways.
class SaveBothWaysTest : public SaveSafetyTest, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override { UseUnnamedFiles(GetParam()); }
    void TearDown() override { UseUnnamedFiles(true); }
};

INSTANTIATE_TEST_SUITE_P(UnnamedOrTemporaryNames, SaveBothWaysTest, ::testing::Bool());

TEST_P(SaveBothWaysTest, AFullDiskLeavesTheEarlierFileAndNoCutFileAndSaysHowManyFailed) {
    std::ofstream(out.path() / "Book1_S.csv") << "earlier";
    keep({std::string(300000, 'a'), "b, \r\n"});
    {
        const FullDisk disk(1000);  // the first file runs out of room, the second does not
        save(kSaveEachSheetOption, {{"Book1.csv", "S", ""}, {"Book1.csv", "T", ""}});
    }
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].label, "Form2.PushButton6_Click");
    const std::string target = JoinPath(out.path().string(), "Book1_S.csv");
    EXPECT_EQ(ui.errors[0].description, "No space left on device: " + target);
    EXPECT_EQ(ui.errors[0].file, target);
    EXPECT_EQ(bytesOf(out.path() / "Book1_S.csv"), "earlier");
    EXPECT_EQ(bytesOf(out.path() / "Book1_T.csv"), "b, \r\n\r\n");
    EXPECT_EQ(namesIn(out.path()), (std::vector<std::string>{"Book1_S.csv", "Book1_T.csv"}));
    EXPECT_EQ(ui.boxes.back().text, "1 of 2 results could not be saved.");
}

TEST_P(SaveBothWaysTest, ASavedFileReplacesWhateverHeldItsNameAndNothingElseIsLeft) {
    const fs::path victim = temp.path() / "victim.txt";
    std::ofstream(victim) << "precious";
    fs::create_symlink(victim, out.path() / "Book1_S.csv");
    fs::create_symlink(temp.path() / "nowhere", out.path() / "Book1_T.csv");
    std::ofstream(out.path() / "Book1_U.csv") << "earlier, and longer than the new text";
    keep({"s", "t", "u", "v"});
    save(kSaveEachSheetOption, {{"Book1.csv", "S", ""}, {"Book1.csv", "T", ""},
                                {"Book1.csv", "U", ""}, {"Book1.csv", "V", ""}});
    EXPECT_EQ(ui.boxes.back().text, "Done.");
    for (const char* name : {"S", "T", "U", "V"}) {
        const fs::path saved = out.path() / ("Book1_" + std::string(name) + ".csv");
        EXPECT_FALSE(fs::is_symlink(saved)) << name;
        EXPECT_EQ(bytesOf(saved), std::string(1, static_cast<char>(name[0] + 32)) + "\r\n");
    }
    EXPECT_EQ(bytesOf(victim), "precious");
    EXPECT_FALSE(fs::exists(temp.path() / "nowhere"));
    EXPECT_EQ(namesIn(out.path()), (std::vector<std::string>{"Book1_S.csv", "Book1_T.csv",
                                                             "Book1_U.csv", "Book1_V.csv"}));
}

TEST_F(SaveSafetyTest, ErrorsCarryTheSystemsReason) {
    keep({"x", "y"});
    const std::string longSheet(300, 's');
    fs::create_directories(out.path() / "Book1_dir.csv");
    save(kSaveEachSheetOption, {{"Book1.csv", longSheet, ""}, {"Book1.csv", "dir", ""}});
    ASSERT_EQ(ui.errors.size(), 2u);
    EXPECT_EQ(ui.errors[0].description,
              "File name too long: " + JoinPath(out.path().string(), "Book1_" + longSheet + ".csv"));
    EXPECT_EQ(ui.errors[1].description,
              "Is a directory: " + JoinPath(out.path().string(), "Book1_dir.csv"));
    EXPECT_EQ(namesIn(out.path()), (std::vector<std::string>{"Book1_dir.csv"}));
    EXPECT_EQ(ui.boxes.back().text, "2 of 2 results could not be saved.");
}

TEST_F(SaveSafetyTest, NamesThatMeetInOneSaveGetNumbersInTheirOrder) {
    keep({"first\r\n", "second\r\n", "third\r\n", "fourth\r\n"});
    // Two folders' report.xlsx, then x.xls and x.ods: book-mode names come from the workbooks.
    save(kSaveEachBookOption,
         {{"report.csv", "", ""}, {"report.csv", "", ""}, {"report (2).csv", "", ""}, {"x.csv", "", ""}});
    EXPECT_EQ(bytesOf(out.path() / "report.csv"), "first\r\n\r\n");
    EXPECT_EQ(bytesOf(out.path() / "report (2).csv"), "second\r\n\r\n");
    EXPECT_EQ(bytesOf(out.path() / "report (2) (2).csv"), "third\r\n\r\n");
    EXPECT_EQ(bytesOf(out.path() / "x.csv"), "fourth\r\n\r\n");
    EXPECT_EQ(ui.boxes.back().text, "Done.");
    // A second save starts its names afresh and replaces the first save's files.
    save(kSaveEachBookOption, {{"report.csv", "", ""}});
    EXPECT_EQ(namesIn(out.path()).size(), 4u);
}

TEST(DistinctNames, NumbersFollowTheNamesAlreadyTaken) {
    DistinctNames names;
    EXPECT_EQ(names.take("a.csv"), "a.csv");
    EXPECT_EQ(names.take("a (2).csv"), "a (2).csv");
    EXPECT_EQ(names.take("a.csv"), "a (3).csv");
    EXPECT_EQ(names.take("a.csv"), "a (4).csv");
    EXPECT_EQ(names.take("noext"), "noext");
    EXPECT_EQ(names.take("noext"), "noext (2)");
}

}  // namespace
}  // namespace tabulon

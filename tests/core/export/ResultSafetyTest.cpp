// Results kept safely: only inside the run's private folder, a full temporary folder, results
// too large to build, a full output disk, saves that leave no cut file, names that meet in one
// save (in any case), failures reported once per kind of reason, and the end message of a save.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <thread>

#include "ExportTestSupport.h"
#include "core/export/DistinctNames.h"
#include "core/export/ExportDriver.h"
#include "core/export/ExportModes.h"
#include "core/export/SaveResults.h"
#include "core/util/PathText.h"
#include "core/util/WriteAll.h"

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
        setWriteCall(&writeIntoFullDisk);
    }
    ~FullDisk() { setWriteCall(nullptr); }
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

TEST_F(ResultSafetyTest, ARunKeepsItsTextsInAPrivateFolderThatGoesWithIt) {
    const auto path = book("report.xlsx", {{"S", {{"A1", "a"}, {"B3", "b"}}}});
    std::ofstream(temp.path() / "report.csv") << "someone else's";
    const auto before = namesIn(temp.path());
    auto store = std::make_unique<ResultStore>();
    ExportContext own{ui, ui, host, *store};
    std::string baseName = "report";
    SaveEachRow(own, path, baseName, ", ", resultIndex);
    SaveEachBook(own, path, baseName, ", ", resultIndex);
    EXPECT_TRUE(ui.errors.empty());
    ASSERT_EQ(store->size(), 4u);
    EXPECT_EQ(store->text(3), "a, , \r\n, , \r\n, b, \r\n\r\n");
    // The run's own folder is private and is all that the run adds; removing it leaves the
    // temporary folder as it was.
    const fs::path runFolder = store->folder().current();
    EXPECT_EQ(runFolder.parent_path(), temp.path());
    EXPECT_EQ(fs::status(runFolder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(namesIn(runFolder), (std::vector<std::string>{"1.texts", "lock"}));
    store.reset();
    EXPECT_EQ(namesIn(temp.path()), before);
    EXPECT_EQ(bytesOf(temp.path() / "report.csv"), "someone else's");
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
        testing::RecordingHost host;
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
            const std::string text = runs[i].texts.text(k);
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
    EXPECT_EQ(fs::file_size(resultTexts.folder().current() + "/1.texts"), 0u);  // nothing cut

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
    EXPECT_EQ(small.text(0), "a, , \r\n, b, \r\n\r\n");
    EXPECT_EQ(small.at(0).sheet, "Fine");
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
}

// One result to save: its text and its record's names.
struct Kept {
    std::string text;
    std::string sheet;
    std::string name = "Book1.csv";
};

class SaveSafetyTest : public ::testing::Test {
  protected:
    void keep(const std::vector<Kept>& results) {
        store.clear();
        for (const Kept& result : results)
            testing::keepResult(store, result.text, result.name, result.sheet);
    }
    void save(const std::string& option) {
        saveResultFiles(SaveRequest{out.path().string(), option, &store}, ui, ui);
    }
    testing::ScratchFolder out;
    testing::ScratchFolder temp;
    testing::TempEnvironment tempEnvironment{temp.path().string()};
    testing::ScriptedUi ui;
    ResultStore store;
};

TEST_F(SaveSafetyTest, AFullDiskLeavesTheEarlierFileAndNoCutFileAndSaysHowManyFailed) {
    std::ofstream(out.path() / "Book1_S.csv") << "earlier";
    keep({{std::string(300000, 'a'), "S"}, {"b, \r\n", "T"}});
    {
        const FullDisk disk(1000);  // the first file runs out of room, the second does not
        save(kSaveEachSheetOption);
    }
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].label, "Form2.PushButton6_Click");
    const std::string target = joinPath(out.path().string(), "Book1_S.csv");
    EXPECT_EQ(ui.errors[0].description, "No space left on device: " + target);
    EXPECT_EQ(ui.errors[0].file, target);
    EXPECT_EQ(bytesOf(out.path() / "Book1_S.csv"), "earlier");
    EXPECT_EQ(bytesOf(out.path() / "Book1_T.csv"), "b, \r\n\r\n");
    EXPECT_EQ(namesIn(out.path()), (std::vector<std::string>{"Book1_S.csv", "Book1_T.csv"}));
    EXPECT_EQ(ui.boxes.back().text, "1 of 2 results could not be saved.");
}

TEST_F(SaveSafetyTest, ASavedFileReplacesWhateverHeldItsNameAndNothingElseIsLeft) {
    const fs::path victim = temp.path() / "victim.txt";
    std::ofstream(victim) << "precious";
    fs::create_symlink(victim, out.path() / "Book1_S.csv");
    fs::create_symlink(temp.path() / "nowhere", out.path() / "Book1_T.csv");
    std::ofstream(out.path() / "Book1_U.csv") << "earlier, and longer than the new text";
    keep({{"s", "S"}, {"t", "T"}, {"u", "U"}, {"v", "V"}});
    save(kSaveEachSheetOption);
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

// A save where every file fails: the first failure of each kind of reason is reported with the
// system's reason and the path, the others are only counted.
TEST_F(SaveSafetyTest, ASaveThatFailsForEveryFileReportsEachKindOfReasonOnceThenTheCount) {
    const std::string longSheet(300, 's');
    fs::create_directories(out.path() / "Book1_dir.csv");
    const auto failures = [&](bool fullDisk) {
        ui.errors.clear();
        std::vector<Kept> results;
        for (int k = 0; k < 3; ++k) {
            results.push_back({"x", longSheet + std::to_string(k)});
            results.push_back({"y", "../up" + std::to_string(k)});
        }
        results.push_back({"d", "dir"});
        keep(results);
        if (fullDisk) {
            const FullDisk disk(0);
            save(kSaveEachSheetOption);
        } else {
            save(kSaveEachSheetOption);
        }
        std::vector<std::string> reported;
        for (const auto& error : ui.errors) reported.push_back(error.description);
        return reported;
    };
    const std::string firstLong = joinPath(out.path().string(), "Book1_" + longSheet + "0.csv");
    EXPECT_EQ(failures(false),
              (std::vector<std::string>{
                  "File name too long: " + firstLong, "Bad file name or number: Book1_../up0.csv",
                  "Is a directory: " + joinPath(out.path().string(), "Book1_dir.csv")}));
    EXPECT_EQ(ui.boxes.back().text, "7 of 7 results could not be saved.");
    EXPECT_EQ(failures(true),
              (std::vector<std::string>{"No space left on device: " + firstLong,
                                        "Bad file name or number: Book1_../up0.csv"}));
    EXPECT_EQ(ui.boxes.back().text, "7 of 7 results could not be saved.");
    EXPECT_EQ(namesIn(out.path()), (std::vector<std::string>{"Book1_dir.csv"}));
}

// Names are compared as case-insensitive file systems compare them (Unicode simple case
// folding), so results copied to FAT, NTFS or a Mac never collide; each keeps its spelling.
TEST_F(SaveSafetyTest, NamesThatMeetInOneSaveInAnyCaseGetNumbersInTheirOrder) {
    keep({{"first\r\n", "", "Report.csv"},
          {"second\r\n", "", "report.csv"},
          {"third\r\n", "", "REPORT (2).csv"},
          {"fourth\r\n", "", "\xC3\x84rger.csv"},   // Ärger
          {"fifth\r\n", "", "\xC3\xA4RGER.csv"}});  // äRGER
    save(kSaveEachBookOption);
    EXPECT_EQ(bytesOf(out.path() / "Report.csv"), "first\r\n\r\n");
    EXPECT_EQ(bytesOf(out.path() / "report (2).csv"), "second\r\n\r\n");
    EXPECT_EQ(bytesOf(out.path() / "REPORT (2) (2).csv"), "third\r\n\r\n");
    EXPECT_EQ(bytesOf(out.path() / "\xC3\x84rger.csv"), "fourth\r\n\r\n");
    EXPECT_EQ(bytesOf(out.path() / "\xC3\xA4RGER (2).csv"), "fifth\r\n\r\n");
    EXPECT_EQ(ui.boxes.back().text, "Done.");
    // A second save starts its names afresh and replaces the first save's files.
    keep({{"again\r\n", "", "report.csv"}});
    save(kSaveEachBookOption);
    EXPECT_EQ(namesIn(out.path()).size(), 6u);
}

TEST(DistinctNames, NumbersFollowTheNamesAlreadyTakenInAnyCase) {
    DistinctNames names;
    const std::pair<const char*, const char*> takes[] = {
        {"a.csv", "a.csv"},
        {"a (2).csv", "a (2).csv"},
        {"A.CSV", "A (3).CSV"},
        {"a.csv", "a (4).csv"},
        {"noext", "noext"},
        {"NOEXT", "NOEXT (2)"},
        {"\xCE\xA3\xCE\xBF\xCF\x82.csv", "\xCE\xA3\xCE\xBF\xCF\x82.csv"},      // Σος
        {"\xCF\x83\xCE\xBF\xCF\x83.csv", "\xCF\x83\xCE\xBF\xCF\x83 (2).csv"},  // σοσ
        {"stra\xC3\x9F"
         "e.csv",
         "stra\xC3\x9F"
         "e.csv"},                       // ß folds to itself
        {"strasse.csv", "strasse.csv"},  // not to ss: simple folding
        {"bad\xFF.csv", "bad\xFF.csv"},  // not UTF-8: compared as it is
        {"BAD\xFF.csv", "BAD\xFF (2).csv"},
    };
    for (const auto& [name, taken] : takes) EXPECT_EQ(names.take(name), taken) << name;
    // Many names, as a row export has: every one still found after the table has grown.
    for (int k = 0; k < 5000; ++k)
        ASSERT_EQ(names.take("n" + std::to_string(k)), "n" + std::to_string(k));
    for (int k = 0; k < 5000; ++k)
        ASSERT_EQ(names.take("N" + std::to_string(k)), "N" + std::to_string(k) + " (2)");
}

}  // namespace
}  // namespace tabulon

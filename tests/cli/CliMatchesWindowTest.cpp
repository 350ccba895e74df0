// The same file list exported and saved through the window and through tabulon-cli gives
// byte-identical output folders, in every save option.
#include <QComboBox>
#include <QLineEdit>

#include "CliProcess.h"
#include "SettingsSandbox.h"
#include "app/Form1.h"
#include "results/Form2.h"
#include "widgets/ListView.h"
#include "widgets/SettingsStore.h"

namespace tabulon {
namespace {

using testing::contentsOf;
using Folder = std::map<std::string, std::string>;

class CliMatchesWindowTest : public ::testing::TestWithParam<std::pair<const char*, const char*>> {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(workbooks.path() / "other");
        using testing::writeWorkbook;
        files = {
            workbooks.file("Missing.xlsx"),
            writeWorkbook(workbooks, "Sales Q1.xlsx",
                          {{"North",
                            {{"A1", "Region"},
                             {"B1", "Total"},
                             {"A2", "a, b"},
                             {"B2", "12.5"},
                             {"C3", "say \"hi\""}}},
                           {"Empty", {}},
                           {"South", {{"B2", "#N/A"}, {"C4", "line\nbreak"}}}}),
            writeWorkbook(workbooks, "report.final.xlsx", {{"S", {{"A1", "1"}, {"B2", "2"}}}}),
            (workbooks.path() / "other" / "Sales Q1.xlsx").string(),
        };
        testing::writeWorkbook(workbooks, "other/Sales Q1.xlsx",
                               {{"North", {{"A1", "x"}, {"B3", "y"}}}});
        std::filesystem::create_directories(windowOut.path());
        std::filesystem::create_directories(cliOut.path());
    }

    void saveThroughWindow(const std::string& option) {
        testing::SettingsSandbox sandbox;
        testing::ScriptedUi ui;
        SettingsStore settings;
        Form1 form(Form1Services{ui, ui, settings, [] {}, QString(), [] { return false; }});
        form.Form_Load();
        form.Combo1->setCurrentText(QString::fromStdString(option));
        for (const std::string& file : files) form.ListView1->addItem(QString::fromStdString(file));
        form.PushButton2_Click();
        form.form2().Text1->setText(QString::fromStdString(windowOut.path().string()));
        form.form2().PushButton6_Click();
        EXPECT_EQ(ui.boxes.back().text, "Done.");
    }

    testing::CliOutput saveThroughCli(const std::string& mode) {
        std::vector<std::string> arguments = {"--mode", mode, "--output", cliOut.path().string()};
        arguments.insert(arguments.end(), files.begin(), files.end());
        return testing::runProgram(TABULON_CLI, arguments);
    }

    testing::ScratchFolder workbooks;
    testing::ScratchFolder windowOut;
    testing::ScratchFolder cliOut;
    std::vector<std::string> files;
};

TEST_P(CliMatchesWindowTest, OutputFoldersAreByteIdentical) {
    const auto [option, mode] = GetParam();
    saveThroughWindow(option);
    const testing::CliOutput cli = saveThroughCli(mode);
    EXPECT_EQ(cli.status, 1);  // the missing workbook is reported
    EXPECT_NE(cli.err.find("Missing.xlsx"), std::string::npos);
    const Folder window = contentsOf(windowOut.path());
    EXPECT_FALSE(window.empty());
    EXPECT_EQ(contentsOf(cliOut.path()), window);
}

INSTANTIATE_TEST_SUITE_P(EveryOption, CliMatchesWindowTest,
                         ::testing::Values(std::pair{kSaveEachBookOption, "book"},
                                           std::pair{kSaveEachSheetOption, "sheet"},
                                           std::pair{kSaveEachRowOption, "row"},
                                           std::pair{kSaveEachColOption, "column"}),
                         [](const auto& info) { return std::string(info.param.second); });

TEST_F(CliMatchesWindowTest, BookFilesAreNamedAfterTheWorkbookTheyCameFrom) {
    saveThroughWindow(kSaveEachBookOption);
    const Folder window = contentsOf(windowOut.path());
    // The missing first workbook gives no result, so no file takes its name.
    EXPECT_EQ(window.count("Missing.csv"), 0u);
    ASSERT_EQ(window.count("report.final.csv"), 1u);
    EXPECT_EQ(window.at("report.final.csv"), "1, , \r\n, 2, \r\n\r\n\r\n");
    // Of two workbooks with the same name, the later one's file gets a number.
    ASSERT_EQ(window.count("Sales Q1.csv"), 1u);
    EXPECT_EQ(window.at("Sales Q1.csv").substr(0, 18), "Region, Total, , \r");
    ASSERT_EQ(window.count("Sales Q1 (2).csv"), 1u);
    EXPECT_EQ(window.at("Sales Q1 (2).csv"), "x, , \r\n, , \r\n, y, \r\n\r\n\r\n");
}

}  // namespace
}  // namespace tabulon

// The same file list exported and saved through the window and through tabulon-cli gives
// byte-identical output folders, in every save option.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "ExportTestSupport.h"
#include "SettingsSandbox.h"
#include "app/Form1.h"
#include "results/Form2.h"
#include "widgets/ListView.h"
#include "widgets/SettingsStore.h"

namespace tabulon {
namespace {

using Folder = std::map<std::string, std::string>;

Folder contentsOf(const std::filesystem::path& folder) {
    Folder files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] = {std::istreambuf_iterator<char>(in),
                                                   std::istreambuf_iterator<char>()};
    }
    return files;
}

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

    int saveThroughCli(const std::string& mode) {
        QStringList arguments = {"--mode", QString::fromStdString(mode), "--output",
                                 QString::fromStdString(cliOut.path().string())};
        for (const std::string& file : files) arguments << QString::fromStdString(file);
        QProcess cli;
        cli.start(TABULON_CLI, arguments);
        cli.waitForFinished(60000);
        cliErrors = cli.readAllStandardError().toStdString();
        return cli.exitCode();
    }

    testing::ScratchFolder workbooks;
    testing::ScratchFolder windowOut;
    testing::ScratchFolder cliOut;
    std::vector<std::string> files;
    std::string cliErrors;
};

TEST_P(CliMatchesWindowTest, OutputFoldersAreByteIdentical) {
    const auto [option, mode] = GetParam();
    saveThroughWindow(option);
    EXPECT_EQ(saveThroughCli(mode), 1);  // the missing workbook is reported
    EXPECT_NE(cliErrors.find("Missing.xlsx"), std::string::npos);
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

TEST_F(CliMatchesWindowTest, UsageAndHelp) {
    QProcess cli;
    cli.start(TABULON_CLI, {});
    cli.waitForFinished(10000);
    EXPECT_EQ(cli.exitCode(), 2);
    // A usage error is one line and a pointer to the help, not the help itself.
    EXPECT_EQ(cli.readAllStandardError().toStdString(),
              "tabulon-cli: no PATH given\nTry 'tabulon-cli --help' for more information.\n");
    cli.start(TABULON_CLI, {"--help"});
    cli.waitForFinished(10000);
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_TRUE(cli.readAllStandardOutput().contains("Usage: tabulon-cli"));
}

TEST_F(CliMatchesWindowTest, AFolderPathAddsItsTreeAndAFullRunExitsZero) {
    QProcess cli;
    cli.start(TABULON_CLI,
              {"--mode", "sheet", "--output", QString::fromStdString(cliOut.path().string()),
               QString::fromStdString((workbooks.path() / "other").string())});
    cli.waitForFinished(60000);
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(contentsOf(cliOut.path()).count("Sales Q1_North.csv"), 1u);
}

}  // namespace
}  // namespace tabulon

// The export button of the main window: the hand-over to the results window, and inputs that
// arrive while a run is in progress.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "ExportTestSupport.h"
#include "SettingsSandbox.h"
#include "app/Form1.h"
#include "results/Form2.h"
#include "results/PlainTextPreview.h"
#include "widgets/ListView.h"
#include "widgets/SettingsStore.h"

namespace tabulon {
namespace {

class Form1ExportTest : public ::testing::Test {
  protected:
    Form1ExportTest()
        : tempEnvironment(temp.path().string()),
          form(Form1Services{ui,
                             ui,
                             settings,
                             [] {},
                             QString(),
                             [] { return false; },
                             {},
                             [this] { return milliseconds; }}) {
        form.Form_Load();
        form.show();
    }

    testing::SettingsSandbox sandbox;
    testing::ScriptedUi ui;
    SettingsStore settings;
    testing::ScratchFolder workbooks;
    testing::ScratchFolder temp;
    testing::TempEnvironment tempEnvironment;
    std::int64_t milliseconds = 0;
    Form1 form;
};

TEST_F(Form1ExportTest, ARunHandsOverToTheResultsWindowWithTheOptionsColumns) {
    const auto path = testing::writeWorkbook(
        workbooks, "Q1.xlsx",
        {{"North", {{"A1", "a"}, {"B2", "b"}}}, {"South", {{"A1", "c"}, {"B2", "d"}}}});
    form.ListView1->addItem(QString::fromStdString(path));
    form.Combo1->setCurrentText("Save each sheet to a CSV file");
    form.PushButton2_Click();
    Form2& results = form.form2();
    EXPECT_TRUE(results.isVisible());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(results.mTotalTextboxes, 2);
    const QAbstractItemModel& rows = *results.ListView1->model();
    ASSERT_EQ(rows.columnCount(), 2);
    EXPECT_EQ(rows.headerData(1, Qt::Horizontal), "Sheet Name");
    EXPECT_EQ(results.ListView1->columnWidth(0), 400);
    EXPECT_EQ(rows.data(rows.index(1, 1)), "South");
    EXPECT_EQ(results.Text2->text(), "a, , \r\n, b, \r\n\r\n");
    EXPECT_EQ(form.ProgressBar1->value(), 0);
    EXPECT_EQ(form.ProgressBar1->text(), "Progress Bar");
    EXPECT_EQ(form.mousePointer(), MousePointer::Default);

    results.PushButton8_Click();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.ListView1->itemCount(), 1);
}

TEST_F(Form1ExportTest, EncryptedWorkbooksAskForTheirPasswordAndCancelMovesOn) {
    const std::string data = std::string(TABULON_SOURCE_DIR) + "/tests/data/encrypted/";
    const std::string agile = data + "agile-sha256-aes128.xlsx";
    const std::string rc4 = data + "rc4.xls";
    form.ListView1->addItem(QString::fromStdString(agile));
    form.ListView1->addItem(QString::fromStdString(rc4));
    form.Combo1->setCurrentText("Save each sheet to a CSV file");
    ui.passwords = {"wrong", "Tabulon-1", std::nullopt};  // the second workbook is cancelled
    form.PushButton2_Click();
    ASSERT_EQ(ui.passwordBoxes.size(), 3u);
    EXPECT_NE(ui.passwordBoxes[0].text.find(agile), std::string::npos);
    EXPECT_NE(ui.passwordBoxes[1].text.find("The password is incorrect"), std::string::npos);
    EXPECT_NE(ui.passwordBoxes[2].text.find(rc4), std::string::npos);
    EXPECT_EQ(form.ResultTexts().size(), 2u);  // the two sheets of the first workbook
    EXPECT_TRUE(form.ResultTexts().text(0).starts_with("Name, Amount, Note, \r\nEntry 1 "));
    ASSERT_FALSE(ui.errors.empty());
    EXPECT_EQ(ui.errors[0].description, "The workbook is password-protected: " + rc4);
}

TEST_F(Form1ExportTest, ClicksThatArriveDuringARunAreIgnored) {
    std::vector<testing::CellSpec> cells = {{"A1", "first"}};
    for (int r = 2; r <= 3000; ++r) cells.push_back({"B" + std::to_string(r), std::to_string(r)});
    const auto path = testing::writeWorkbook(workbooks, "Long.xlsx", {{"S", cells}});
    form.ListView1->addItem(QString::fromStdString(path));
    form.Combo1->setCurrentText("Save each sheet to a CSV file");
    bool clickedDuringRun = false;
    QTimer::singleShot(0, &form, [&] {
        clickedDuringRun = form.exportRunning();
        form.PushButton2->click();  // a second run
        form.PushButton6->click();  // "Clear List"
    });
    milliseconds += 20;  // the run's first event pass happens
    form.PushButton2_Click();
    EXPECT_TRUE(clickedDuringRun);
    EXPECT_EQ(form.ResultTexts().size(), 1u);
    EXPECT_EQ(form.form2().ListView1->model()->rowCount(), 1);
    EXPECT_EQ(form.ListView1->itemCount(), 1);
    EXPECT_TRUE(ui.errors.empty());
}

// Each run keeps its results in a private folder of its own, which goes once no window shows
// them; the first preview holds its run across "< Back" and a run without results, whose files
// are never cut or reused meanwhile.
TEST_F(Form1ExportTest, EachRunHasItsOwnFolderAndTheFirstPreviewSurvivesBackAndARunWithoutResults) {
    const auto path =
        testing::writeWorkbook(workbooks, "Q1.xlsx", {{"S", {{"A1", "a"}, {"B2", "b"}}}});
    const std::string damaged = workbooks.createFile("Damaged.xlsx");
    const auto foldersInTemp = [this] { return testing::namesIn(temp.path()); };
    {
        Form1 window(Form1Services{ui, ui, settings, [] {}, QString(), [] { return false; }});
        window.Form_Load();
        window.ListView1->addItem(QString::fromStdString(path));
        window.PushButton2_Click();
        const auto first = foldersInTemp();
        ASSERT_EQ(first.size(), 1u);
        window.form2().PushButton8_Click();
        window.ListView1->clearItems();
        window.ListView1->addItem(QString::fromStdString(damaged));
        window.PushButton2_Click();
        EXPECT_EQ(window.form2().Text2->text(), "a, , \r\n, b, \r\n\r\n");
        EXPECT_EQ(window.form2().ListView1->model()->rowCount(), 0);
        window.form2().PushButton8_Click();
        window.ListView1->clearItems();
        window.ListView1->addItem(QString::fromStdString(path));
        window.PushButton2_Click();
        const auto last = foldersInTemp();
        ASSERT_EQ(last.size(), 1u);
        EXPECT_NE(last[0], first[0]);
        EXPECT_EQ(window.ResultTexts().text(0), "a, , \r\n, b, \r\n\r\n");
    }
    EXPECT_TRUE(foldersInTemp().empty());
    ASSERT_FALSE(ui.errors.empty());
    EXPECT_NE(ui.errors[0].description.find("Damaged.xlsx"), std::string::npos);
}

}  // namespace
}  // namespace tabulon

// The export button of the main window: the hand-over to the results window, and inputs that
// arrive while a run is in progress.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
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
        : form(Form1Services{ui, ui, settings, [] {}, QString(), [] { return false; }}) {
        form.Form_Load();
        form.show();
    }

    testing::SettingsSandbox sandbox;
    testing::ScriptedUi ui;
    SettingsStore settings;
    testing::ScratchFolder workbooks;
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
    ASSERT_EQ(results.ListView1->columnCount(), 2);
    EXPECT_EQ(results.ListView1->headerItem()->text(1), "Sheet Name");
    EXPECT_EQ(results.ListView1->columnWidth(0), 400);
    EXPECT_EQ(results.ListView1->item(2).subItem(1), "South");
    EXPECT_EQ(results.Text2->text(), "a, , \r\n, b, \r\n\r\n");
    EXPECT_EQ(form.ProgressBar1->value(), 0);
    EXPECT_EQ(form.ProgressBar1->text(), "Progress Bar");
    EXPECT_EQ(form.mousePointer(), MousePointer::Default);

    results.PushButton8_Click();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.ListView1->itemCount(), 1);
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
    QThread::msleep(20);  // lets the run's first event pass happen
    form.PushButton2_Click();
    EXPECT_TRUE(clickedDuringRun);
    EXPECT_EQ(form.ResultTexts().size(), 1u);
    EXPECT_EQ(form.form2().ListView1->itemCount(), 1);
    EXPECT_EQ(form.ListView1->itemCount(), 1);
    EXPECT_TRUE(ui.errors.empty());
}

}  // namespace
}  // namespace tabulon

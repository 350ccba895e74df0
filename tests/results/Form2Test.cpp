// The results window: layout, output folder setting, preview per row, "...", "< Back" and saving.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "ScratchFolder.h"
#include "ScriptedUi.h"
#include "SettingsSandbox.h"
#include "core/export/SaveOptions.h"
#include "core/util/PathText.h"
#include "results/Form2.h"
#include "results/PlainTextPreview.h"
#include "widgets/ListView.h"
#include "widgets/SettingsStore.h"
#include "widgets/WindowHelpers.h"

namespace tabulon {
namespace {

class Form2Test : public ::testing::Test {
  protected:
    std::unique_ptr<Form2> makeForm() {
        auto form = std::make_unique<Form2>(Form2Services{ui, ui, settings, QString(), resultTexts,
                                                          [this] { return option; },
                                                          [this] { ++mainWindowShown; }});
        form->Form_Load();
        return form;
    }

    // Fills the window as an export run does: columns, rows, previews and texts.
    void deliver(Form2& form, const std::vector<std::pair<std::string, std::string>>& results) {
        form.clearResults();
        form.addResultColumns({{"Preview", 6000}, {"Sheet Name", 1500}});
        resultTexts.clear();
        std::int32_t k = 1;
        for (const auto& [sheet, text] : results) {
            const std::int32_t row = form.addResultRow("Book1.csv");
            form.setResultSubItem(row, 1, sheet);
            form.setPreviewText(k++, text);
            resultTexts.push_back(text);
        }
        form.showResults(static_cast<std::int32_t>(results.size()));
    }

    testing::SettingsSandbox sandbox;
    testing::ScriptedUi ui;
    SettingsStore settings;
    std::vector<std::string> resultTexts;
    std::string option = kSaveEachSheetOption;
    int mainWindowShown = 0;
};

TEST_F(Form2Test, LayoutFollowsTheDesign) {
    const auto form = makeForm();
    EXPECT_EQ(form->size(), QSize(536, 416));
    EXPECT_EQ(form->windowTitle(), "Tabulon");
    const std::pair<const char*, QRect> layout[] = {
        {"ListView1", {8, 8, 520, 121}},      {"Text2", {8, 135, 520, 180}},
        {"Frame1", {8, 318, 520, 54}},        {"Text1", {16, 20, 439, 23}},
        {"PushButton7", {464, 20, 40, 23}},   {"PushButton8", {8, 381, 256, 27}},
        {"PushButton6", {272, 381, 256, 27}},
    };
    for (const auto& [name, rect] : layout) {
        auto* widget = form->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->geometry(), rect) << name;
    }
    EXPECT_EQ(form->Frame1->title(), "Save Results To This Folder");
    EXPECT_EQ(form->PushButton7->text(), "...");
    EXPECT_EQ(form->PushButton8->text(), "< Back");
    EXPECT_EQ(form->PushButton6->text(), "Save Results To CSV");
}

TEST_F(Form2Test, FirstStartShowsTheDesktopAndStoresItAndTypingStoresEveryText) {
    const auto form = makeForm();
    std::string desktop;
    GetSpecialFolderDir(desktop);
    EXPECT_EQ(form->Text1->text().toStdString(), desktop);
    EXPECT_EQ(settings.get(kKeyOutputFolder, "absent"), desktop);
    form->Text1->clear();
    EXPECT_EQ(settings.get(kKeyOutputFolder, "absent"), "");
    form->Text1->insert("/o");
    EXPECT_EQ(settings.get(kKeyOutputFolder, "absent"), "/o");
    form->Text1->insert("ut");
    const auto next = makeForm();
    EXPECT_EQ(next->Text1->text(), "/out");
}

TEST_F(Form2Test, ClickingRowKPreviewsResultK) {
    const auto form = makeForm();
    deliver(*form, {{"S1", "first\r\n"}, {"S2", "second\r\n"}, {"S3", "third\r\n"}});
    EXPECT_EQ(form->Text2->text(), "first\r\n");
    EXPECT_EQ(form->mTotalTextboxes, 3);
    form->ListView1->item(3).select();
    form->ListView1_ItemClick();
    EXPECT_EQ(form->Text2->text(), "third\r\n");
    form->ListView1->item(1).select();
    form->ListView1_ItemClick();
    EXPECT_EQ(form->Text2->text(), "first\r\n");
}

TEST_F(Form2Test, BackKeepsTheFirstPreviewForARunWithoutResults) {
    const auto form = makeForm();
    deliver(*form, {{"S1", "old first\r\n"}, {"S2", "old second\r\n"}});
    form->PushButton8_Click();
    EXPECT_EQ(mainWindowShown, 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->previewText(1), "old first\r\n");
    EXPECT_ANY_THROW(form->previewText(2));
    deliver(*form, {});
    EXPECT_EQ(form->Text2->text(), "old first\r\n");
    EXPECT_EQ(form->ListView1->itemCount(), 0);
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(Form2Test, FolderPickerEndsTheFolderWithOneSeparatorAndCancelKeepsIt) {
    const auto form = makeForm();
    form->Text1->setText("/keep/");
    ui.folderChoices = {"", "/picked", "/"};
    form->PushButton7_Click();
    EXPECT_EQ(form->Text1->text(), "/keep/");
    form->PushButton7_Click();
    EXPECT_EQ(form->Text1->text().toStdString(), "/picked" + std::string(1, PathSeparator()));
    form->PushButton7_Click();
    EXPECT_EQ(form->Text1->text(), "/");
    EXPECT_EQ(settings.get(kKeyOutputFolder, ""), "/");
}

TEST_F(Form2Test, SaveWritesTheShownResultsIntoTheTypedFolder) {
    testing::ScratchFolder out;
    const auto form = makeForm();
    deliver(*form, {{"North", "a, \r\n\r\n"}, {"South", "b, \r\n\r\n"}});
    form->Text1->setText(QString::fromStdString(out.path().string()));
    form->PushButton6_Click();
    EXPECT_EQ(ui.boxes.back().text, "Done.");
    EXPECT_TRUE(std::filesystem::exists(out.path() / "Book1_North.csv"));
    EXPECT_TRUE(std::filesystem::exists(out.path() / "Book1_South.csv"));

    form->Text1->setText(QString::fromStdString(out.file("missing")));
    form->PushButton6_Click();
    EXPECT_EQ(ui.boxes.back().text, "Output folder does not exist.");
}

}  // namespace
}  // namespace tabulon

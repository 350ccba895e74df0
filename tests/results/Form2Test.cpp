// The results window: layout, output folder setting, preview per row, "...", "< Back" and saving.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeView>

#include "ExportTestSupport.h"
#include "ScratchFolder.h"
#include "ScriptedUi.h"
#include "SettingsSandbox.h"
#include "core/export/SaveOptions.h"
#include "core/util/MappedFile.h"
#include "core/util/PathText.h"
#include "results/Form2.h"
#include "results/PlainTextPreview.h"
#include "widgets/SettingsStore.h"
#include "widgets/WindowHelpers.h"

namespace tabulon {
namespace {

class Form2Test : public ::testing::Test {
  protected:
    std::unique_ptr<Form2> makeForm() {
        auto form = std::make_unique<Form2>(Form2Services{
            ui, ui, settings, QString(), [this] { return option; }, [this] { ++mainWindowShown; }});
        form->Form_Load();
        return form;
    }

    // Fills the window as an export run does: columns, then the run's results handed over.
    void deliver(Form2& form, const std::vector<std::pair<std::string, std::string>>& results) {
        form.clearResults();
        form.addResultColumns({{"Preview", 6000}, {"Sheet Name", 1500}});
        auto run = std::make_shared<ResultStore>();
        for (const auto& [sheet, text] : results)
            testing::keepResult(*run, text, "Book1.csv", sheet);
        form.showResults(run, static_cast<std::int32_t>(results.size()));
    }

    testing::SettingsSandbox sandbox;
    testing::ScriptedUi ui;
    SettingsStore settings;
    testing::ScratchFolder temp;
    testing::TempEnvironment tempEnvironment{temp.path().string()};
    std::string option = kSaveEachSheetOption;
    int mainWindowShown = 0;
};

// Highlights row k (1-based) of the list, as a click does.
void selectRow(QTreeView& list, int k) { list.setCurrentIndex(list.model()->index(k - 1, 0)); }

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
    EXPECT_EQ(form->ListView1->model()->data(form->ListView1->model()->index(2, 1)), "S3");
    selectRow(*form->ListView1, 3);
    form->ListView1_ItemClick();
    EXPECT_EQ(form->Text2->text(), "third\r\n");
    selectRow(*form->ListView1, 1);
    form->ListView1_ItemClick();
    EXPECT_EQ(form->Text2->text(), "first\r\n");
}

// Sends a key press and release to the results list, as typing on it does.
void pressKey(QTreeView& list, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&list, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&list, &up);
}

// Presses and releases the left button on row k of the list.
void clickRow(QTreeView& list, int k) {
    const QModelIndex row = list.model()->index(k - 1, 0);
    list.scrollTo(row);
    const QPoint at = list.visualRect(row).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, list.viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &event);
    }
}

TEST_F(Form2Test, ThePreviewFollowsTheRowChosenByMouseOrKeyboard) {
    const auto form = makeForm();
    std::vector<std::pair<std::string, std::string>> results;
    for (int k = 1; k <= 30; ++k)
        results.emplace_back("S" + std::to_string(k), "text " + std::to_string(k) + "\r\n");
    deliver(*form, results);
    QTreeView& list = *form->ListView1;
    const auto previewOfSelectedRow = [&] {
        const int k = list.currentIndex().row() + 1;
        EXPECT_EQ(form->Text2->text(), "text " + std::to_string(k) + "\r\n");
        return k;
    };

    clickRow(list, 2);
    EXPECT_EQ(previewOfSelectedRow(), 2);
    pressKey(list, Qt::Key_Down);
    EXPECT_EQ(previewOfSelectedRow(), 3);
    pressKey(list, Qt::Key_End);
    EXPECT_EQ(previewOfSelectedRow(), 30);
    pressKey(list, Qt::Key_Up);
    EXPECT_EQ(previewOfSelectedRow(), 29);
    pressKey(list, Qt::Key_Home);
    EXPECT_EQ(previewOfSelectedRow(), 1);
    pressKey(list, Qt::Key_PageDown);
    const int pageDown = previewOfSelectedRow();
    EXPECT_GT(pageDown, 2);
    pressKey(list, Qt::Key_PageDown);
    const int secondPageDown = previewOfSelectedRow();
    EXPECT_GT(secondPageDown, pageDown);
    pressKey(list, Qt::Key_PageUp);
    EXPECT_LT(previewOfSelectedRow(), secondPageDown);
    clickRow(list, 1);
    EXPECT_EQ(previewOfSelectedRow(), 1);

    // A focus frame moved without highlighting its row leaves the preview with the
    // highlighted row.
    list.selectionModel()->setCurrentIndex(list.model()->index(4, 0),
                                           QItemSelectionModel::NoUpdate);
    EXPECT_EQ(form->Text2->text(), "text 1\r\n");
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

// The first preview of a run survives "< Back" and a following run without results, its run's
// folder with it; the next run with results takes its place, and the folder goes.
TEST_F(Form2Test, BackKeepsTheFirstPreviewForARunWithoutResults) {
    const auto form = makeForm();
    deliver(*form, {{"S1", "old first\r\n"}, {"S2", "old second\r\n"}});
    form->PushButton8_Click();
    EXPECT_EQ(mainWindowShown, 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->previewText(1)->bytes(), "old first\r\n");
    EXPECT_ANY_THROW(form->previewText(2));
    deliver(*form, {});
    EXPECT_EQ(form->Text2->text(), "old first\r\n");
    EXPECT_EQ(form->ListView1->model()->rowCount(), 0);
    EXPECT_EQ(testing::namesIn(temp.path()).size(), 1u);
    deliver(*form, {{"S", "new first\r\n"}});
    EXPECT_EQ(form->Text2->text(), "new first\r\n");
    EXPECT_EQ(testing::namesIn(temp.path()).size(), 1u);  // the new run's folder only
    form->clearResults();
    EXPECT_EQ(testing::namesIn(temp.path()).size(), 1u);  // held by the first preview
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(Form2Test, FolderPickerEndsTheFolderWithOneSeparatorAndCancelKeepsIt) {
    const auto form = makeForm();
    form->Text1->setText("/keep/");
    ui.folderChoices = {"", "/picked", "/"};
    form->PushButton7_Click();
    EXPECT_EQ(form->Text1->text(), "/keep/");
    form->PushButton7_Click();
    EXPECT_EQ(form->Text1->text().toStdString(), "/picked" + std::string(1, pathSeparator()));
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
    // Each file holds its result's text and the line end that ends every written text.
    EXPECT_EQ(testing::contentsOf(out.path()),
              (std::map<std::string, std::string>{{"Book1_North.csv", "a, \r\n\r\n\r\n"},
                                                  {"Book1_South.csv", "b, \r\n\r\n\r\n"}}));

    form->Text1->setText(QString::fromStdString(out.file("missing")));
    form->PushButton6_Click();
    EXPECT_EQ(ui.boxes.back().text, "Output folder does not exist.");
}

}  // namespace
}  // namespace tabulon

// The main window: layout, start-up sequence, save-option persistence and the hover pointer.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include "ScriptedUi.h"
#include "SettingsSandbox.h"
#include "app/Form1.h"
#include "core/Error.h"
#include "core/export/SaveOptions.h"
#include "widgets/ListView.h"
#include "widgets/SettingsStore.h"

namespace tabulon {
namespace {

class Form1Test : public ::testing::Test {
  protected:
    std::unique_ptr<Form1> makeForm() {
        auto form = std::make_unique<Form1>(
            Form1Services{ui,
                          ui,
                          settings,
                          [this] {
                              if (!engineAvailable)
                                  throw Error("ActiveX component can't create object");
                          },
                          programDir.path(),
                          {},
                          {},
                          [this] { return milliseconds; }});
        form->Form_Load();
        return form;
    }

    static void moveOver(QWidget* widget) {
        const QPointF at(3, 3);
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    }

    void copyHandCursor() {
        ASSERT_TRUE(QFile::copy(TABULON_SOURCE_DIR "/resources/HAND-M.CUR",
                                programDir.path() + "/HAND-M.CUR"));
    }

    testing::SettingsSandbox sandbox;
    testing::ScriptedUi ui;
    SettingsStore settings;
    QTemporaryDir programDir;
    bool engineAvailable = true;
    std::int64_t milliseconds = 0;
};

struct ControlLayout {
    const char* name;
    const char* caption;
    QRect pixels;  // the designed twips divided by 15
};

TEST_F(Form1Test, ControlsStandWhereTheLayoutPutsThemWithTheirCaptions) {
    const auto form = makeForm();
    EXPECT_EQ(form->size(), QSize(536, 380));
    EXPECT_EQ(form->windowTitle(), "Tabulon");
    EXPECT_FALSE(form->windowIcon().isNull());
    const ControlLayout layout[] = {
        {"ListView1", nullptr, {8, 8, 456, 169}},
        {"PushButton3", "Move Up", {472, 8, 56, 80}},
        {"PushButton5", "Move Down", {472, 96, 56, 80}},
        {"PushButton1", "Add Excel File(s)", {8, 184, 256, 27}},
        {"PushButton4", "Add All Excel Files In Folder", {272, 184, 256, 27}},
        {"PushButton6", "Clear List", {8, 219, 256, 27}},
        {"PushButton7", "Load Sample/Example Files", {272, 220, 256, 27}},
        {"Frame1", nullptr, {8, 249, 520, 53}},
        {"Combo1", nullptr, {15, 20, 489, 23}},
        {"PushButton2", "Start Exporting To CSV", {8, 310, 520, 27}},
        {"ProgressBar1", nullptr, {8, 345, 520, 27}},
    };
    for (const ControlLayout& control : layout) {
        SCOPED_TRACE(control.name);
        auto* widget = form->findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), control.pixels);
        if (control.caption != nullptr) {
            auto* button = qobject_cast<QPushButton*>(widget);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), control.caption);
            EXPECT_EQ(button->font().family(), "Arial");
            EXPECT_DOUBLE_EQ(button->font().pointSizeF(), 11.25);
            EXPECT_TRUE(button->font().bold());
        }
    }
    EXPECT_EQ(form->Frame1->title(), "Save Options");
    EXPECT_EQ(form->ProgressBar1->text(), "Progress Bar");
    EXPECT_EQ(form->ProgressBar1->maximum(), 100);
    EXPECT_EQ(form->ListView1->columnHeader(1), "Excel File(s)");
    EXPECT_EQ(form->ListView1->columnCount(), 1);
    EXPECT_EQ(form->ListView1->columnWidth(0), 413);
    EXPECT_EQ(form->ListView1->toolTip(),
              "Drag and drop files here. Double-click item to remove it. Move bar to right and out "
              "of window to reveal full names.");
    EXPECT_DOUBLE_EQ(form->font().pointSizeF(), 9);
    EXPECT_EQ(form->ListView1->itemCount(), 0);
}

TEST_F(Form1Test, FirstRunOffersTheFourOptionsWithTheBookOptionChosen) {
    const auto form = makeForm();
    ASSERT_EQ(form->Combo1->count(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(form->Combo1->itemText(i), kSaveOptions[i]);
    EXPECT_EQ(form->Combo1->currentText(), "Save all sheets to a CSV file");
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(Form1Test, ChoosingAnOptionStoresItAndTheNextRunStartsWithIt) {
    {
        const auto form = makeForm();
        form->Combo1->setCurrentIndex(2);
        EXPECT_EQ(settings.get(kKeyDirections, ""), "Save each row to a CSV file");
        form->Combo1->setCurrentIndex(3);
        EXPECT_EQ(settings.get(kKeyDirections, ""), "Save each column to a CSV file");
        form->Combo1->setCurrentIndex(2);
    }
    const auto next = makeForm();
    EXPECT_EQ(next->Combo1->currentText(), "Save each row to a CSV file");
    EXPECT_EQ(settings.get(kKeyDirections, ""), "Save each row to a CSV file");
}

TEST_F(Form1Test, AStoredTextThatIsNoOptionSelectsNoneAndIsKept) {
    settings.save(kKeyDirections, "save each row to a csv file");
    const auto form = makeForm();
    EXPECT_EQ(form->Combo1->currentIndex(), -1);
    EXPECT_EQ(settings.get(kKeyDirections, ""), "save each row to a csv file");
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(Form1Test, HoverGivesTheHandOverButtonsAndTheDefaultOverFrameAndBackground) {
    copyHandCursor();
    const auto form = makeForm();
    moveOver(form->PushButton4);
    EXPECT_EQ(form->mousePointer(), MousePointer::Custom);
    EXPECT_EQ(form->cursor().shape(), Qt::BitmapCursor);
    moveOver(form->Frame1);
    EXPECT_EQ(form->mousePointer(), MousePointer::Default);
    moveOver(form->PushButton3);
    EXPECT_EQ(form->mousePointer(), MousePointer::Custom);
    moveOver(form.get());
    EXPECT_EQ(form->mousePointer(), MousePointer::Default);
}

TEST_F(Form1Test, HoverNeverReplacesTheBusyPointer) {
    const auto form = makeForm();
    form->setBusyPointer();
    for (QWidget* place :
         std::initializer_list<QWidget*>{form->PushButton1, form->Frame1, form.get()}) {
        moveOver(place);
        EXPECT_EQ(form->mousePointer(), MousePointer::Busy);
        EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
    }
    form->setDefaultPointer();
    moveOver(form->PushButton1);
    EXPECT_EQ(form->mousePointer(), MousePointer::Custom);
}

TEST_F(Form1Test, WithoutTheCursorFileTheHandPointerIsTheOrdinaryArrow) {
    const auto form = makeForm();
    moveOver(form->PushButton1);
    EXPECT_EQ(form->mousePointer(), MousePointer::Custom);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(Form1Test, ADamagedCursorFileIsReportedAndStartUpGoesOn) {
    QFile bad(programDir.path() + "/HAND-M.CUR");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a cursor");
    bad.close();
    const auto form = makeForm();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].label, "Form1.Form_Load");
    EXPECT_EQ(ui.errors[0].line, 106);
    EXPECT_EQ(form->windowTitle(), "Tabulon");
    EXPECT_EQ(form->Combo1->count(), 4);
}

TEST_F(Form1Test, WithoutAnEngineTheWarningShowsOnceAndTheWindowStillOpens) {
    engineAvailable = false;
    const auto form = makeForm();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "Excel is not installed on this computer. You need to have it installed to use this "
              "software without error.");
    EXPECT_EQ(ui.boxes[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.boxes[0].icon, Icon::None);
    EXPECT_EQ(ui.boxes[0].title, "Tabulon");
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(form->Combo1->count(), 4);
}

TEST_F(Form1Test, ProgressShowsValueAndTextAsGiven) {
    const auto form = makeForm();
    form->setProgressValue(40);
    form->setProgressText("Please wait.. processing.. 7");
    EXPECT_EQ(form->ProgressBar1->value(), 40);
    EXPECT_EQ(form->ProgressBar1->text(), "Please wait.. processing.. 7");

    // Values and texts that follow one another quickly may wait, but the last of them is
    // shown at the next event pass.
    form->setProgressValue(41);
    form->setProgressValue(42);
    form->setProgressText("Please wait.. processing.. 8");
    form->setProgressText("Please wait.. processing.. 9");
    milliseconds += 20;
    form->processEvents();
    EXPECT_EQ(form->ProgressBar1->value(), 42);
    EXPECT_EQ(form->ProgressBar1->text(), "Please wait.. processing.. 9");
}

}  // namespace
}  // namespace tabulon

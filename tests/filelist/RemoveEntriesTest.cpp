// Removing entries by double-click and the Delete key, and "Clear List".
#include "FileListFixture.h"

namespace tabulon::testing {
namespace {

TEST_F(FileListTest, DoubleClickOrDeleteOnAnEmptyListChangesNothingAndSaysNothing) {
    doubleClick(QPoint(20, 20));
    key(Qt::Key_Delete);
    key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(list->itemCount(), 0);
    expectSilence();
}

TEST_F(FileListTest, DoubleClickRemovesTheClickedEntryAndTheRestMoveUp) {
    fill({"A", "B", "C", "D"});
    doubleClick(rowCentre(2));
    EXPECT_EQ(texts(), QStringList({"A", "C", "D"}));
    expectSilence();
}

TEST_F(FileListTest, DeleteRemovesTheSelectedEntryWhateverTheModifiers) {
    fill({"A", "B", "C", "D", "E"});
    list->item(2).select();
    key(Qt::Key_Delete);
    EXPECT_EQ(texts(), QStringList({"A", "C", "D", "E"}));
    list->item(1).select();
    key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(texts(), QStringList({"C", "D", "E"}));
    list->item(3).select();
    key(Qt::Key_Delete, Qt::ControlModifier);
    list->item(1).select();
    key(Qt::Key_Backspace);
    list->clearSelection();
    key(Qt::Key_Delete);
    EXPECT_EQ(texts(), QStringList({"C", "D"}));
    expectSilence();
}

TEST_F(FileListTest, ClearListEmptiesTheListWithoutAskingAndIsQuietWhenEmpty) {
    fill({"A", "B", "A"});
    click(form->PushButton6);
    EXPECT_EQ(list->itemCount(), 0);
    click(form->PushButton6);
    EXPECT_EQ(list->itemCount(), 0);
    expectSilence();
}

}  // namespace
}  // namespace tabulon::testing

// Reordering with "Move Up", "Move Down" and by dragging an entry with the mouse.
#include <QCursor>

#include "FileListFixture.h"

namespace tabulon::testing {
namespace {

class ReorderTest : public FileListTest {
  protected:
    // Focus somewhere else first, so that a handler giving the list the focus is seen.
    void focusElsewhere() { form->PushButton1->setFocus(); }
    bool listHasFocus() const { return form->focusWidget() == list; }

    // Press on the entry at one position, move over the given positions, release.
    void drag(int from, std::initializer_list<int> over) {
        press(rowCentre(from));
        for (int position : over) moveHeld(rowCentre(position));
        release(rowCentre(over.size() == 0 ? from : *(over.end() - 1)));
    }
};

TEST_F(ReorderTest, MoveUpThenMoveDownCarryTheSelectedEntryAndBack) {
    fill({"A", "B", "C"});
    list->item(2).select();
    focusElsewhere();
    click(form->PushButton3);
    EXPECT_EQ(texts(), QStringList({"B", "A", "C"}));
    EXPECT_EQ(selected(), 1);
    EXPECT_TRUE(listHasFocus());

    focusElsewhere();
    click(form->PushButton5);
    EXPECT_EQ(texts(), QStringList({"A", "B", "C"}));
    EXPECT_EQ(selected(), 2);
    EXPECT_TRUE(listHasFocus());
    expectSilence();
}

TEST_F(ReorderTest, MovingPastEitherEndOnlyFocusesTheList) {
    fill({"A", "B", "C"});
    list->item(1).select();
    focusElsewhere();
    click(form->PushButton3);
    EXPECT_TRUE(listHasFocus());
    list->item(3).select();
    focusElsewhere();
    click(form->PushButton5);
    EXPECT_TRUE(listHasFocus());
    EXPECT_EQ(texts(), QStringList({"A", "B", "C"}));
    EXPECT_EQ(selected(), 3);
    expectSilence();
}

TEST_F(ReorderTest, WithNothingSelectedMoveUpOnlyFocusesAndMoveDownSelectsTheFirstEntry) {
    click(form->PushButton3);  // an empty list: nothing to move and nothing to say
    click(form->PushButton5);
    fill({"A", "B", "C"});
    focusElsewhere();
    click(form->PushButton3);
    EXPECT_EQ(selected(), 0);
    EXPECT_TRUE(listHasFocus());
    click(form->PushButton5);
    EXPECT_EQ(texts(), QStringList({"A", "B", "C"}));
    EXPECT_EQ(selected(), 1);
    expectSilence();
}

TEST_F(ReorderTest, DraggingRowByRowCarriesThePathOnePlaceAtATime) {
    fill({"A", "B", "C"});
    press(rowCentre(1));
    moveHeld(rowCentre(2));
    EXPECT_EQ(texts(), QStringList({"B", "A", "C"}));
    moveHeld(rowCentre(3));
    EXPECT_EQ(texts(), QStringList({"B", "C", "A"}));
    EXPECT_EQ(selected(), 3);
    release(rowCentre(3));
    expectSilence();
}

TEST_F(ReorderTest, AJumpOverARowSwapsWithTheEntryUnderThePointerOnly) {
    fill({"A", "B", "C"});
    drag(1, {3});
    EXPECT_EQ(texts(), QStringList({"C", "B", "A"}));
}

TEST_F(ReorderTest, EqualTextsAreNeverSwapped) {
    fill({"A", "A", "B"});
    drag(1, {2});
    EXPECT_EQ(texts(), QStringList({"A", "A", "B"}));
    drag(2, {1, 3});
    // Over entry 1 nothing happens; over entry 3 the dragged "A" trades places with "B".
    EXPECT_EQ(texts(), QStringList({"A", "B", "A"}));
}

TEST_F(ReorderTest, MovesWithoutAHeldButtonOrAfterTheReleaseMoveNothing) {
    fill({"A", "B", "C"});
    drag(1, {});
    mouse(QEvent::MouseMove, rowCentre(3), Qt::NoButton);
    EXPECT_EQ(texts(), QStringList({"A", "B", "C"}));
}

TEST_F(ReorderTest, ADraggedEntryThatLeftTheListDragsNothing) {
    fill({"A", "B", "C", "D"});
    drag(2, {});
    key(Qt::Key_Delete);  // entry 2 ("B"), remembered for dragging, goes
    const QPoint below = rowCentre(3) + QPoint(0, 200);
    press(below);  // a press outside the entries: no new entry click
    moveHeld(rowCentre(1));
    moveHeld(rowCentre(3));
    release(rowCentre(3));
    EXPECT_EQ(texts(), QStringList({"A", "C", "D"}));

    drag(1, {});
    click(form->PushButton6);
    fill({"X", "Y"});
    press(below);
    moveHeld(rowCentre(1));
    moveHeld(rowCentre(2));
    release(rowCentre(2));
    EXPECT_EQ(texts(), QStringList({"X", "Y"}));
}

TEST_F(ReorderTest, TheListShowsTheDragPointerAfterAnEntryClickAndTheArrowAfterRelease) {
    ASSERT_TRUE(
        QFile::copy(TABULON_SOURCE_DIR "/resources/drag.ico", programDir.path() + "/drag.ico"));
    fill({"A", "B"});
    press(rowCentre(1));
    EXPECT_EQ(list->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(list->cursor().hotSpot(), QPoint(1, 1));
    release(rowCentre(1));
    EXPECT_EQ(list->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ReorderTest, WithoutTheDragIconTheListKeepsItsPointerAndStillDrags) {
    fill({"A", "B"});
    const Qt::CursorShape before = list->cursor().shape();
    press(rowCentre(1));
    EXPECT_EQ(list->cursor().shape(), before);
    moveHeld(rowCentre(2));
    EXPECT_EQ(texts(), QStringList({"B", "A"}));
    release(rowCentre(2));
}

// The scroll rule looks at the pointer's screen row: from 365 down a swap brings the entry
// below into view, between 305 and 364 nothing scrolls, above 305 the entry above comes in.
TEST_F(ReorderTest, ASwapScrollsByTheScreenRowOfThePointer) {
    QStringList many;
    for (int i = 1; i <= 40; ++i) many << QString("File %1").arg(i);
    fill(many);
    const auto topEntry = [this] { return list->indexAt(QPoint(5, 2)).row() + 1; };
    const auto lastFullyShown = [this] {
        int position = 1;
        while (position < list->itemCount() &&
               list->itemRect(position + 1).bottom() < list->viewport()->height())
            ++position;
        return position;
    };
    const int screenX = form->mapToGlobal(QPoint(50, 0)).x();
    const int lastFull = lastFullyShown();
    ASSERT_LT(lastFull, 40);

    QCursor::setPos(screenX, 364);
    drag(lastFull - 1, {lastFull});
    EXPECT_EQ(topEntry(), 1);

    QCursor::setPos(screenX, 365);
    drag(lastFull - 1, {lastFull});
    EXPECT_EQ(lastFullyShown(), lastFull + 1);
    EXPECT_EQ(topEntry(), 2);

    QCursor::setPos(screenX, 305);
    drag(3, {2});
    EXPECT_EQ(topEntry(), 2);

    QCursor::setPos(screenX, 304);
    drag(3, {2});
    EXPECT_EQ(topEntry(), 1);
}

}  // namespace
}  // namespace tabulon::testing

// The list control: 1-based positions, insertion and removal order, errors on bad positions.
#include <gtest/gtest.h>

#include "core/Error.h"
#include "widgets/ListView.h"

namespace tabulon {
namespace {

QStringList texts(const ListView& list) {
    QStringList all;
    for (int p = 1; p <= list.itemCount(); ++p) all << list.item(p).text();
    return all;
}

TEST(ListView, AddInsertAndRemoveKeepPositionsOneBased) {
    ListView list;
    list.addItem("A");
    list.addItem("B");
    list.addItem("C");
    EXPECT_EQ(list.item(2).index(), 2);

    list.insertItem(1, "first");
    list.insertItem(5, "last");
    EXPECT_EQ(texts(list), (QStringList{"first", "A", "B", "C", "last"}));

    list.removeItem(2);
    EXPECT_EQ(texts(list), (QStringList{"first", "B", "C", "last"}));
    EXPECT_EQ(list.item(3).index(), 3);

    list.clearItems();
    EXPECT_EQ(list.itemCount(), 0);
}

TEST(ListView, PositionsOutsideTheEntriesRaiseErrors) {
    ListView list;
    EXPECT_THROW(list.item(1), Error);
    EXPECT_THROW(list.removeItem(1), Error);
    EXPECT_THROW(list.insertItem(0, "x"), Error);
    EXPECT_THROW(list.insertItem(2, "x"), Error);
    list.addItem("A");
    EXPECT_THROW(list.item(0), Error);
    EXPECT_THROW(list.item(2), Error);
    EXPECT_NO_THROW(list.insertItem(2, "B"));
    EXPECT_THROW(list.setColumnWidthTwips(1, 100), Error);
}

TEST(ListView, SelectedItemFailsWhenNothingIsSelected) {
    ListView list;
    EXPECT_THROW(list.selectedItem(), Error);
    list.addItem("A");
    list.addItem("B");
    EXPECT_THROW(list.selectedItem(), Error);
    list.item(2).select();
    EXPECT_EQ(list.selectedItem().text(), "B");
    list.removeItem(2);
    EXPECT_THROW(list.selectedItem(), Error);
}

// A kept entry (the dragged one, say) goes on naming that entry while others come and go, and
// knows when it has gone itself.
TEST(ListView, AKeptEntryFollowsItsEntryUntilItIsRemoved) {
    ListView list;
    list.addItem("A");
    ListItem kept = list.addItem("B");
    list.insertItem(1, "first");
    EXPECT_EQ(kept.index(), 3);
    EXPECT_EQ(kept, list.item(3));
    list.removeItem(1);
    EXPECT_EQ(kept.index(), 2);

    kept.setText("B2");
    EXPECT_EQ(list.item(2).text(), "B2");
    list.removeItem(2);
    EXPECT_EQ(kept.index(), 0);
    kept.select();
    kept.setText("gone");
    EXPECT_THROW(list.selectedItem(), Error);
    EXPECT_EQ(texts(list), (QStringList{"A"}));
}

// Texts are kept as UTF-8 and shown as the same characters.
TEST(ListView, TextsKeepEveryCharacter) {
    ListView list;
    list.addColumn("Preview");
    list.addColumn("Sheet Name");
    ListItem row = list.addItemUtf8("Bücher €.xlsx");
    row.setSubItem(1, QString::fromUtf8("Blatt 𝄞"));
    EXPECT_EQ(list.item(1).text(), QString::fromUtf8("Bücher €.xlsx"));
    EXPECT_EQ(row.utf8(1), "Blatt 𝄞");
    EXPECT_EQ(list.model()->index(0, 1).data().toString(), QString::fromUtf8("Blatt 𝄞"));
}

TEST(ListView, SubItemsAndColumns) {
    ListView list;
    list.addColumn("Preview");
    list.addColumn("Sheet Name");
    list.addColumn("Row");
    ASSERT_EQ(list.columnCount(), 3);
    EXPECT_EQ(list.columnHeader(3), "Row");
    list.setColumnWidthTwips(2, 1500);
    EXPECT_EQ(list.columnWidth(1), 100);

    ListItem row = list.addItem("Book1.csv");
    row.setSubItem(1, "Sheet1");
    row.setSubItem(2, "3");
    EXPECT_EQ(list.item(1).subItem(1), "Sheet1");
    EXPECT_EQ(list.item(1).subItem(2), "3");
    EXPECT_THROW(row.setSubItem(3, "x"), Error);

    list.clearColumns();
    EXPECT_EQ(list.columnCount(), 0);
    list.addColumn("Preview");
    EXPECT_EQ(list.columnCount(), 1);
    EXPECT_EQ(list.columnHeader(1), "Preview");
}

TEST(ListView, HitTestFindsTheEntryUnderAPointInTwips) {
    ListView list;
    list.addColumn("Excel File(s)");
    list.resize(300, 200);
    list.show();
    list.addItem("A");
    list.addItem("B");
    const QRect second = list.itemRect(2);
    const QPoint inList = list.viewport()->mapTo(&list, second.center());
    const auto hit = list.hitTest(inList.x() * 15.0f, inList.y() * 15.0f);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->text(), "B");
    EXPECT_FALSE(list.hitTest(10.0f, 190.0f * 15.0f).has_value());
}

}  // namespace
}  // namespace tabulon

// The list control of both windows: a report-view list with 1-based entry positions.
#pragma once

#include <QRect>
#include <QString>
#include <QTreeView>
#include <memory>
#include <optional>
#include <string>

#include "widgets/ListModel.h"

namespace tabulon {

class ListView;

// One entry of a ListView: its text, sub-items 1 and 2, and its position. It keeps naming the
// same entry while others are inserted or removed; once its own entry is removed, its position
// is 0 and selecting or showing it does nothing.
class ListItem {
  public:
    ListItem(ListView& list, std::shared_ptr<ListEntry> entry)
        : list_(&list), entry_(std::move(entry)) {}

    QString text() const;
    void setText(const QString& text);
    QString subItem(int index) const;  // 1 or 2
    void setSubItem(int index, const QString& text);
    // The text (0) or a sub-item (1, 2) as kept, in UTF-8: what the program hands on.
    const std::string& utf8(int index) const;
    void setSubItemUtf8(int index, std::string text);
    int index() const;  // 1-based position in its list
    void select();
    void ensureVisible();

    bool operator==(const ListItem& other) const { return entry_ == other.entry_; }

  private:
    ListView* list_;
    std::shared_ptr<ListEntry> entry_;
};

class ListView : public QTreeView {
    Q_OBJECT
  public:
    explicit ListView(QWidget* parent = nullptr);

    void clearColumns();
    void addColumn(const QString& header);
    int columnCount() const;
    // The header of the column at 1-based position.
    QString columnHeader(int position) const;
    // Width of the column at 1-based position, in twips.
    void setColumnWidthTwips(int position, int twips);

    ListItem addItem(const QString& text);
    ListItem addItemUtf8(std::string text);
    // Inserts at 1-based position p, 1 <= p <= count + 1.
    ListItem insertItem(int position, const QString& text);
    void removeItem(int position);
    void clearItems();
    int itemCount() const;
    ListItem item(int position) const;
    // The selected entry; throws when nothing is selected.
    ListItem selectedItem() const;
    // The entry under a point given in twips relative to the list, if any.
    std::optional<ListItem> hitTest(float xTwips, float yTwips) const;
    // Where the entry at a 1-based position is drawn, in the coordinates of the viewport.
    QRect itemRect(int position) const;

  private:
    friend class ListItem;

    ListItem entryAt(int row) const;
    void checkPosition(int position, int last) const;

    ListModel* entries_;
};

}  // namespace tabulon

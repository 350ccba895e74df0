// The list control of both windows: a report-view list with 1-based entry positions.
#pragma once

#include <QString>
#include <QTreeWidget>
#include <optional>

namespace tabulon {

// One entry of a ListView: its text, sub-items 1 and 2, and its position.
class ListItem {
  public:
    explicit ListItem(QTreeWidgetItem* item) : item_(item) {}

    QString text() const;
    void setText(const QString& text);
    QString subItem(int index) const;  // 1 or 2
    void setSubItem(int index, const QString& text);
    int index() const;  // 1-based position in its list
    void select();
    void ensureVisible();

    bool operator==(const ListItem& other) const { return item_ == other.item_; }

  private:
    QTreeWidgetItem* item_;
};

class ListView : public QTreeWidget {
    Q_OBJECT
  public:
    explicit ListView(QWidget* parent = nullptr);

    void clearColumns();
    void addColumn(const QString& header);
    // Width of the column at 1-based position, in twips.
    void setColumnWidthTwips(int position, int twips);

    ListItem addItem(const QString& text);
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

  private:
    void checkPosition(int position, int last) const;
};

}  // namespace tabulon

// The list control of both windows over QTreeWidget, raising errors on bad positions.
#include "widgets/ListView.h"

#include <QHeaderView>
#include <cmath>

#include "core/Error.h"
#include "widgets/Twips.h"

namespace tabulon {

QString ListItem::text() const { return item_->text(0); }
void ListItem::setText(const QString& text) { item_->setText(0, text); }

QString ListItem::subItem(int index) const {
    if (index < 1 || index > 2) throw Error("Invalid property value");
    return item_->text(index);
}

void ListItem::setSubItem(int index, const QString& text) {
    if (index < 1 || index > 2) throw Error("Invalid property value");
    item_->setText(index, text);
}

int ListItem::index() const {
    const QTreeWidget* tree = item_->treeWidget();
    return tree == nullptr ? 0 : tree->indexOfTopLevelItem(item_) + 1;
}

void ListItem::select() {
    QTreeWidget* tree = item_->treeWidget();
    if (tree == nullptr) return;
    tree->setCurrentItem(item_);
    item_->setSelected(true);
}

void ListItem::ensureVisible() {
    if (QTreeWidget* tree = item_->treeWidget()) tree->scrollToItem(item_);
}

ListView::ListView(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

void ListView::clearColumns() {
    setColumnCount(0);
    setHeaderLabels({});
}

void ListView::addColumn(const QString& header) {
    QStringList labels;
    for (int i = 0; i < columnCount(); ++i) labels << headerItem()->text(i);
    labels << header;
    setColumnCount(static_cast<int>(labels.size()));
    setHeaderLabels(labels);
}

void ListView::setColumnWidthTwips(int position, int twips) {
    checkPosition(position, columnCount());
    setColumnWidth(position - 1, twipsToPixels(twips));
}

ListItem ListView::addItem(const QString& text) {
    auto* entry = new QTreeWidgetItem(QStringList{text});
    addTopLevelItem(entry);
    return ListItem(entry);
}

ListItem ListView::insertItem(int position, const QString& text) {
    checkPosition(position, itemCount() + 1);
    auto* entry = new QTreeWidgetItem(QStringList{text});
    insertTopLevelItem(position - 1, entry);
    return ListItem(entry);
}

void ListView::removeItem(int position) {
    checkPosition(position, itemCount());
    delete takeTopLevelItem(position - 1);
}

void ListView::clearItems() { clear(); }

int ListView::itemCount() const { return topLevelItemCount(); }

ListItem ListView::item(int position) const {
    checkPosition(position, itemCount());
    return ListItem(topLevelItem(position - 1));
}

ListItem ListView::selectedItem() const {
    QTreeWidgetItem* current = currentItem();
    if (current == nullptr || !current->isSelected())
        throw Error("Object variable or With block variable not set");
    return ListItem(current);
}

std::optional<ListItem> ListView::hitTest(float xTwips, float yTwips) const {
    const QPoint point(static_cast<int>(std::floor(xTwips / kTwipsPerPixel)),
                       static_cast<int>(std::floor(yTwips / kTwipsPerPixel)));
    QTreeWidgetItem* hit = itemAt(viewport()->mapFrom(this, point));
    if (hit == nullptr) return std::nullopt;
    return ListItem(hit);
}

void ListView::checkPosition(int position, int last) const {
    if (position < 1 || position > last) throw Error("Index out of bounds");
}

}  // namespace tabulon

// The list control of both windows over a list model, raising errors on bad positions.
#include "widgets/ListView.h"

#include <QItemSelectionModel>
#include <cmath>

#include "core/Error.h"
#include "widgets/ReportView.h"
#include "widgets/Twips.h"

namespace tabulon {
namespace {

void checkSubItem(int index) {
    if (index < 1 || index > 2) throw Error("Invalid property value");
}

}  // namespace

QString ListItem::text() const { return QString::fromStdString(entry_->texts[0]); }

void ListItem::setText(const QString& text) {
    list_->entries_->setText(*entry_, 0, text.toStdString());
}

QString ListItem::subItem(int index) const {
    checkSubItem(index);
    return QString::fromStdString(entry_->texts[static_cast<std::size_t>(index)]);
}

void ListItem::setSubItem(int index, const QString& text) {
    setSubItemUtf8(index, text.toStdString());
}

const std::string& ListItem::utf8(int index) const {
    if (index < 0 || index > 2) throw Error("Invalid property value");
    return entry_->texts[static_cast<std::size_t>(index)];
}

void ListItem::setSubItemUtf8(int index, std::string text) {
    checkSubItem(index);
    list_->entries_->setText(*entry_, index, std::move(text));
}

int ListItem::index() const { return entry_->position; }

void ListItem::select() {
    if (entry_->position == 0) return;
    const QModelIndex at = list_->entries_->index(entry_->position - 1, 0);
    list_->setCurrentIndex(at);
    list_->selectionModel()->select(at, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ListItem::ensureVisible() {
    if (entry_->position == 0) return;
    list_->scrollTo(list_->entries_->index(entry_->position - 1, 0));
}

ListView::ListView(QWidget* parent) : QTreeView(parent), entries_(new ListModel(this)) {
    setModel(entries_);
    setUpReportView(*this);
}

void ListView::clearColumns() { entries_->clearHeaders(); }

void ListView::addColumn(const QString& header) { entries_->addHeader(header); }

int ListView::columnCount() const { return static_cast<int>(entries_->headers().size()); }

QString ListView::columnHeader(int position) const {
    checkPosition(position, columnCount());
    return entries_->headers()[position - 1];
}

void ListView::setColumnWidthTwips(int position, int twips) {
    checkPosition(position, columnCount());
    setColumnWidth(position - 1, twipsToPixels(twips));
}

ListItem ListView::addItem(const QString& text) { return addItemUtf8(text.toStdString()); }

ListItem ListView::addItemUtf8(std::string text) {
    return ListItem(*this, entries_->insert(itemCount(), std::move(text)));
}

ListItem ListView::insertItem(int position, const QString& text) {
    checkPosition(position, itemCount() + 1);
    return ListItem(*this, entries_->insert(position - 1, text.toStdString()));
}

void ListView::removeItem(int position) {
    checkPosition(position, itemCount());
    // The view would highlight a neighbour in its place; the list leaves nothing selected.
    const bool wasSelected = selectionModel()->isRowSelected(position - 1, {});
    entries_->remove(position - 1);
    if (wasSelected) selectionModel()->clearSelection();
}

void ListView::clearItems() { entries_->clear(); }

int ListView::itemCount() const { return entries_->rowCount(); }

ListItem ListView::item(int position) const {
    checkPosition(position, itemCount());
    return entryAt(position - 1);
}

ListItem ListView::selectedItem() const {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current.siblingAtColumn(0)))
        throw Error("Object variable or With block variable not set");
    return entryAt(current.row());
}

std::optional<ListItem> ListView::hitTest(float xTwips, float yTwips) const {
    const QPoint point(static_cast<int>(std::floor(xTwips / kTwipsPerPixel)),
                       static_cast<int>(std::floor(yTwips / kTwipsPerPixel)));
    const QModelIndex hit = indexAt(viewport()->mapFrom(this, point));
    if (!hit.isValid()) return std::nullopt;
    return entryAt(hit.row());
}

QRect ListView::itemRect(int position) const {
    checkPosition(position, itemCount());
    return visualRect(entries_->index(position - 1, 0));
}

// An entry's ListItem may change the list, as a QTreeWidgetItem taken from a const list may.
ListItem ListView::entryAt(int row) const {
    return ListItem(const_cast<ListView&>(*this), entries_->entry(row));
}

void ListView::checkPosition(int position, int last) const {
    if (position < 1 || position > last) throw Error("Index out of bounds");
}

}  // namespace tabulon

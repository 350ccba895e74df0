// The entries and column headers of a ListView.
#include "widgets/ListModel.h"

#include <algorithm>

namespace tabulon {

ListModel::~ListModel() {
    // ListItems that outlive the list see their entries as gone.
    for (const auto& entry : entries_) entry->position = 0;
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() > 2 || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return QString::fromStdString(
        entry(index.row())->texts[static_cast<std::size_t>(index.column())]);
}

void ListModel::addHeader(const QString& header) {
    const int column = static_cast<int>(headers_.size());
    if (column == 0) {
        headers_ << header;
        emit headerDataChanged(Qt::Horizontal, 0, 0);
        return;
    }
    beginInsertColumns({}, column, column);
    headers_ << header;
    endInsertColumns();
}

void ListModel::clearHeaders() {
    if (headers_.size() > 1) {
        beginRemoveColumns({}, 1, static_cast<int>(headers_.size()) - 1);
        headers_.resize(1);
        endRemoveColumns();
    }
    headers_.clear();
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

std::shared_ptr<ListEntry> ListModel::insert(int row, std::string text) {
    auto added = std::make_shared<ListEntry>();
    added->texts[0] = std::move(text);
    beginInsertRows({}, row, row);
    entries_.insert(entries_.begin() + row, added);
    renumberFrom(row);
    endInsertRows();
    return added;
}

void ListModel::remove(int row) {
    beginRemoveRows({}, row, row);
    entries_[static_cast<std::size_t>(row)]->position = 0;
    entries_.erase(entries_.begin() + row);
    renumberFrom(row);
    endRemoveRows();
}

void ListModel::clear() {
    beginResetModel();
    for (const auto& entry : entries_) entry->position = 0;
    entries_.clear();
    entries_.shrink_to_fit();
    endResetModel();
}

void ListModel::setText(ListEntry& entry, int column, std::string text) {
    entry.texts[static_cast<std::size_t>(column)] = std::move(text);
    if (entry.position == 0 || column >= columnCount()) return;
    const QModelIndex changed = index(entry.position - 1, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void ListModel::renumberFrom(int row) {
    for (std::size_t k = static_cast<std::size_t>(row); k < entries_.size(); ++k)
        entries_[k]->position = static_cast<int>(k) + 1;
}

}  // namespace tabulon

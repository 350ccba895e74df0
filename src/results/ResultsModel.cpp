// The rows of the results list: a table over the records of the run's result store.
#include "results/ResultsModel.h"

#include "core/export/ResultStore.h"

namespace tabulon {
namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void ResultsModel::setColumns(const QStringList& headers) {
    beginResetModel();
    headers_ = headers;
    run_.reset();
    endResetModel();
}

// Rows come and go as insertions and removals, not as a reset, so that the columns keep the
// widths they were given.
void ResultsModel::showRun(std::shared_ptr<const ResultStore> run) {
    if (const int shown = rowCount(); shown > 0) {
        beginRemoveRows({}, 0, shown - 1);
        run_.reset();
        endRemoveRows();
    }
    if (!run || run->empty()) {
        run_ = std::move(run);
        return;
    }
    beginInsertRows({}, 0, static_cast<int>(run->size()) - 1);
    run_ = std::move(run);
    endInsertRows();
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !run_ ? 0 : static_cast<int>(run_->size());
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() > 2 || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const Result result = run_->at(static_cast<std::size_t>(index.row()));
    switch (index.column()) {
        case 0:
            return fromUtf8(result.name);
        case 1:
            return fromUtf8(result.sheet);
        default:
            return result.number == 0 ? QString() : QString::number(result.number);
    }
}

}  // namespace tabulon

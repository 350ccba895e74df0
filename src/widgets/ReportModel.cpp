// What the models of both windows' lists share.
#include "widgets/ReportModel.h"

#include <algorithm>

namespace tabulon {

int ReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(1, static_cast<int>(headers_.size()));
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= headers_.size()) {
        return {};
    }
    return headers_[section];
}

Qt::ItemFlags ReportModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace tabulon

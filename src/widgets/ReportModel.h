// What the models of both windows' lists share: the column headers, a first column even without
// headers, and rows that can be selected but not edited.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace tabulon {

class ReportModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // A list without headers still shows its rows' first texts in one column.
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const QStringList& headers() const { return headers_; }

  protected:
    QStringList headers_;
};

}  // namespace tabulon

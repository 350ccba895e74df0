// The rows of the results list: a table over the records of the run's result store, which keeps
// each workbook's and sheet's name once; nothing of a row is copied until the list draws it.
#pragma once

#include <memory>

#include "widgets/ReportModel.h"

namespace tabulon {

class ResultStore;

class ResultsModel : public ReportModel {
    Q_OBJECT
  public:
    using ReportModel::ReportModel;

    // The column headers ("Preview", "Sheet Name", "Row"), and no rows until a run is shown.
    void setColumns(const QStringList& headers);
    // One row per result of the run, which the list holds while it shows it.
    void showRun(std::shared_ptr<const ResultStore> run);
    const std::shared_ptr<const ResultStore>& run() const { return run_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    std::shared_ptr<const ResultStore> run_;
};

}  // namespace tabulon

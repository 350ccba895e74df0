// The export host of tabulon-cli: a fixed file list and option; each workbook's results are
// handed on for saving as soon as the workbook is done, so only one workbook's are held.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/Terminal.h"
#include "core/export/ExportHost.h"
#include "core/export/SaveResults.h"

namespace tabulon::cli {

class BatchHost : public ExportHost {
  public:
    BatchHost(std::vector<std::string> files, std::string option, Terminal& terminal)
        : files_(std::move(files)), option_(std::move(option)), terminal_(terminal) {}

    const std::vector<ResultRow>& rows() const { return rows_; }
    // Called with the rows of each workbook once it is done; the rows are dropped afterwards.
    void onWorkbookDone(std::function<void(const std::vector<ResultRow>&)> done) {
        workbookDone_ = std::move(done);
    }

    std::int32_t fileCount() const override { return static_cast<std::int32_t>(files_.size()); }
    std::string fileEntry(std::int32_t position) const override;
    std::string saveOption() const override { return option_; }
    void clearResults() override { rows_.clear(); }
    void addResultColumns(const std::vector<ResultColumn>&) override {}
    std::int32_t addResultRow(const std::string& name) override;
    void setResultSubItem(std::int32_t row, int index, const std::string& text) override;
    void setPreviewText(std::int32_t, const StoredText&) override {}
    void workbookDone() override;
    void handOver(std::int32_t) override {}

  private:
    std::vector<std::string> files_;
    std::string option_;
    Terminal& terminal_;
    std::vector<ResultRow> rows_;
    std::function<void(const std::vector<ResultRow>&)> workbookDone_;
};

}  // namespace tabulon::cli

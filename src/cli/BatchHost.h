// The export host of tabulon-cli: a fixed file list and option; each workbook's results are
// saved as soon as the workbook is done, so only one workbook's are held.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/Terminal.h"
#include "core/export/ExportHost.h"

namespace tabulon::cli {

class BatchHost : public ExportHost {
  public:
    BatchHost(std::vector<std::string> files, std::string option, Terminal& terminal)
        : files_(std::move(files)), option_(std::move(option)), terminal_(terminal) {}

    // Called once each workbook is done, its results in the run's store.
    void onWorkbookDone(std::function<void()> done) { workbookDone_ = std::move(done); }

    std::int32_t fileCount() const override { return static_cast<std::int32_t>(files_.size()); }
    std::string fileEntry(std::int32_t position) const override;
    std::string saveOption() const override { return option_; }
    void clearResults() override {}
    void addResultColumns(const std::vector<ResultColumn>&) override {}
    void workbookDone() override {
        if (workbookDone_) workbookDone_();
    }
    void handOver(std::int32_t) override {}

  private:
    std::vector<std::string> files_;
    std::string option_;
    Terminal& terminal_;
    std::function<void()> workbookDone_;
};

}  // namespace tabulon::cli

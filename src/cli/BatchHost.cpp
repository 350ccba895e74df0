// The export host of tabulon-cli: a fixed file list and option, results saved per workbook.
#include "cli/BatchHost.h"

#include "core/Error.h"

namespace tabulon::cli {

std::string BatchHost::fileEntry(std::int32_t position) const {
    if (position < 1 || position > fileCount()) throw Error("Index out of bounds");
    const std::string& path = files_[static_cast<std::size_t>(position) - 1];
    terminal_.setCurrentFile(path, position, fileCount());
    return path;
}

std::int32_t BatchHost::addResultRow(const std::string& name) {
    rows_.push_back({name, {}, {}});
    return static_cast<std::int32_t>(rows_.size());
}

void BatchHost::setResultSubItem(std::int32_t row, int index, const std::string& text) {
    ResultRow& target = rows_.at(static_cast<std::size_t>(row) - 1);
    (index == 1 ? target.subItem1 : target.subItem2) = text;
}

}  // namespace tabulon::cli

namespace tabulon::cli {

void BatchHost::workbookDone() {
    if (workbookDone_) workbookDone_(rows_);
    rows_.clear();
}

}  // namespace tabulon::cli

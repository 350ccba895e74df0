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

}  // namespace tabulon::cli

// A workbook file's bytes, all of them, mapped into memory for the readers that need them at once.
#pragma once

#include <memory>
#include <string>

#include "core/util/MappedFile.h"

namespace tabulon::workbook {

// Throws ReadError: CannotRead with the system's reason, TooLarge for a file past the size that
// a workbook may take in memory.
std::shared_ptr<const MappedFile> mapWorkbookFile(const std::string& path);

}  // namespace tabulon::workbook

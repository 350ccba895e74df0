// A workbook file's bytes, all of them, read into memory for the readers that need them at once.
#pragma once

#include <string>
#include <vector>

namespace tabulon::workbook {

// Throws ReadError: CannotRead with the system's reason, TooLarge for a file past the size that
// a workbook may take in memory. Bytes are read, not mapped: a file that another program cuts
// short meanwhile gives fewer bytes (which the reader finds damaged), never a fault.
std::vector<unsigned char> readWorkbookBytes(const std::string& path);

}  // namespace tabulon::workbook

// The directory of a compound file (the container of legacy and encrypted Office files).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tabulon::workbook::cfb {

inline constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// The names of all storages and streams in the compound file at the path (non-ASCII characters
// come out as '?'), or nothing when its header or directory cannot be followed.
std::optional<std::vector<std::string>> compoundEntryNames(const std::string& path);

}  // namespace tabulon::workbook::cfb

// Limits that keep a hostile or broken file from exhausting memory or time.
#pragma once

#include <cstdint>

namespace tabulon::workbook {

// All parts of one workbook together, after decompression.
inline constexpr std::uint64_t kMaxDecompressedBytes = std::uint64_t{4} << 30;
// Stored cells of one workbook, all sheets together (16 bytes each in memory).
inline constexpr std::uint64_t kMaxCells = 100'000'000;

}  // namespace tabulon::workbook

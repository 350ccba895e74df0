// Limits that keep a hostile or broken file from exhausting memory or time. Each is checked as
// the thing it limits grows, so that a file is refused before it costs what it asks for.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tabulon::workbook {

// All parts of one workbook together, after decompression.
inline constexpr std::uint64_t kMaxDecompressedBytes = std::uint64_t{2} << 30;
// Stored cells of one workbook, all sheets together (16 bytes each in memory).
inline constexpr std::uint64_t kMaxCells = 20'000'000;
// Text of one workbook kept for its cells (shared strings, cell text, shown texts), in bytes,
// counting kStringOverhead more for each string.
inline constexpr std::uint64_t kMaxTextBytes = std::uint64_t{256} << 20;
inline constexpr std::uint64_t kStringOverhead = sizeof(std::size_t);
// The characters (UTF-16 code units) that one cell's text holds, as in the spreadsheet
// application; longer text is cut there.
inline constexpr std::size_t kMaxCellTextUnits = 32767;
// Bytes of character data gathered for one cell's text before its escapes are decoded: the
// longest text fits even when every character is written as a seven-byte _xHHHH_ escape.
inline constexpr std::size_t kMaxCellMarkupBytes = 8 * (kMaxCellTextUnits + 1);

}  // namespace tabulon::workbook

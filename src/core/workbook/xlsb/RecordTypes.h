// The record types of the binary workbook parts that the reader looks at.
#pragma once

#include <cstdint>

namespace tabulon::workbook::xlsb::record {

// Worksheet cells and rows.
inline constexpr std::uint32_t kRowHeader = 0;
inline constexpr std::uint32_t kCellBlank = 1;
inline constexpr std::uint32_t kCellRk = 2;
inline constexpr std::uint32_t kCellError = 3;
inline constexpr std::uint32_t kCellBool = 4;
inline constexpr std::uint32_t kCellReal = 5;
inline constexpr std::uint32_t kCellString = 6;
inline constexpr std::uint32_t kCellSharedString = 7;
inline constexpr std::uint32_t kFormulaString = 8;
inline constexpr std::uint32_t kFormulaNumber = 9;
inline constexpr std::uint32_t kFormulaBool = 10;
inline constexpr std::uint32_t kFormulaError = 11;
inline constexpr std::uint32_t kCellRichString = 62;

// Shared strings.
inline constexpr std::uint32_t kSharedStringItem = 19;

// Styles.
inline constexpr std::uint32_t kNumberFormat = 44;
inline constexpr std::uint32_t kCellFormat = 47;
inline constexpr std::uint32_t kBeginCellFormats = 617;
inline constexpr std::uint32_t kEndCellFormats = 618;

// Workbook.
inline constexpr std::uint32_t kBeginBook = 131;
inline constexpr std::uint32_t kWorkbookProperties = 153;
inline constexpr std::uint32_t kSheetBundle = 156;

}  // namespace tabulon::workbook::xlsb::record

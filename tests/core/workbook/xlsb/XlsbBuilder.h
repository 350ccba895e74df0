// Hand-built binary workbooks for tests: records byte by byte, and packages made of them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "XlsxPackage.h"

namespace tabulon::testing::xlsb {

std::string u8(std::uint8_t v);
std::string u16(std::uint16_t v);
std::string u32(std::uint32_t v);
std::string f64(double v);
// A length-prefixed UTF-16LE string of the UTF-8 text.
std::string wide(std::string_view utf8);
// One record: its type and size in 7-bit groups, then the payload.
std::string record(std::uint32_t type, const std::string& payload = {});

// Cell records: column (0-based) and style, then the value bytes.
std::string cell(std::uint32_t type, std::uint32_t col, std::uint32_t style,
                 const std::string& value = {});
// A row header for the 0-based row.
std::string row(std::uint32_t zeroBasedRow);

struct BinSheet {
    std::string name;
    std::string records;  // the sheet data's records (rows and cells)
    std::string role = "worksheet";
    std::uint32_t state = 0;  // 0 visible, 1 hidden, 2 very hidden
};

// A package with xl/workbook.bin, its relationships, the sheets (xl/worksheets/sheetN.bin,
// wrapped in sheet and sheet data records) and, when not empty, the shared strings and styles
// parts given as their inner records.
XlsxPackage binaryWorkbook(const std::vector<BinSheet>& sheets,
                           const std::string& sharedStringRecords = {},
                           const std::string& styleRecords = {}, bool date1904 = false);

}  // namespace tabulon::testing::xlsb

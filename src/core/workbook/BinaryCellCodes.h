// How the binary workbook formats (xls and xlsb) encode numbers (RK) and error values.
#pragma once

#include <cstdint>
#include <string_view>

namespace tabulon::workbook {

// An RK number: bit 0 says "divide by 100", bit 1 says the upper 30 bits are a signed integer;
// otherwise they are the upper 30 bits of a double whose other bits are zero.
double decodeRk(std::uint32_t rk);

// The code of an error value ("#DIV/0!"), or an empty view for a byte that names no error.
std::string_view errorCodeText(std::uint8_t code);

}  // namespace tabulon::workbook

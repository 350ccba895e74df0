// UTF-16LE text as the binary workbook parts store it, turned into UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tabulon::workbook::xlsb {

// The UTF-8 form of little-endian UTF-16 code units (an odd last byte is ignored); unpaired
// surrogates become U+FFFD.
std::string utf16leToUtf8(std::string_view bytes);

}  // namespace tabulon::workbook::xlsb

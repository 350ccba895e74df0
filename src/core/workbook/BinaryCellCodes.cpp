// Decoding RK numbers and error bytes.
#include "core/workbook/BinaryCellCodes.h"

#include <cstring>

namespace tabulon::workbook {

double decodeRk(std::uint32_t rk) {
    double value = 0;
    if ((rk & 2) != 0) {
        // Arithmetic shift keeps the sign of the 30-bit integer.
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 1) != 0 ? value / 100 : value;
}

std::string_view errorCodeText(std::uint8_t code) {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        case 0x2A:
            return "#N/A";
        case 0x2B:
            return "#GETTING_DATA";
    }
    return {};
}

}  // namespace tabulon::workbook

// Writing records and binary workbook packages for the reader's tests.
#include "XlsbBuilder.h"

#include <cstring>

namespace tabulon::testing::xlsb {

namespace {

std::string littleEndian(std::uint64_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

std::string variable(std::uint32_t v) {
    std::string out;
    do {
        std::uint8_t byte = v & 0x7F;
        v >>= 7;
        if (v != 0) byte |= 0x80;
        out += static_cast<char>(byte);
    } while (v != 0);
    return out;
}

// The code points of UTF-8 text, then UTF-16 units with surrogate pairs.
std::string utf16le(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) c = (c << 6) | (utf8[i + k] & 0x3F);
        i += extra + 1;
        if (c >= 0x10000) {
            out += littleEndian(0xD800 + ((c - 0x10000) >> 10), 2);
            out += littleEndian(0xDC00 + ((c - 0x10000) & 0x3FF), 2);
        } else {
            out += littleEndian(c, 2);
        }
    }
    return out;
}

std::string relationship(const std::string& id, const std::string& role,
                         const std::string& target) {
    return "<Relationship Id=\"" + id +
           "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + role +
           "\" Target=\"" + target + "\"/>";
}

}  // namespace

std::string u8(std::uint8_t v) { return littleEndian(v, 1); }
std::string u16(std::uint16_t v) { return littleEndian(v, 2); }
std::string u32(std::uint32_t v) { return littleEndian(v, 4); }

std::string f64(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return littleEndian(bits, 8);
}

std::string wide(std::string_view utf8) {
    const std::string units = utf16le(utf8);
    return u32(static_cast<std::uint32_t>(units.size() / 2)) + units;
}

std::string record(std::uint32_t type, const std::string& payload) {
    return variable(type) + variable(static_cast<std::uint32_t>(payload.size())) + payload;
}

std::string cell(std::uint32_t type, std::uint32_t col, std::uint32_t style,
                 const std::string& value) {
    return record(type, u32(col) + u32(style) + value);
}

std::string row(std::uint32_t zeroBasedRow) {
    // Row, format, height, flags and an empty list of column spans.
    return record(0, u32(zeroBasedRow) + u32(0) + u16(0x12C) + std::string(3, '\0') + u32(0));
}

XlsxPackage binaryWorkbook(const std::vector<BinSheet>& sheets,
                           const std::string& sharedStringRecords, const std::string& styleRecords,
                           bool date1904) {
    XlsxPackage package;
    package.setPart("_rels/.rels", "<Relationships>" +
                                       relationship("r1", "officeDocument", "xl/workbook.bin") +
                                       "</Relationships>");
    std::string workbook =
        record(131) + record(153, u32(date1904 ? 1 : 0) + u32(0) + wide("")) + record(143);
    std::string relationships = "<Relationships>";
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string id = "rId" + std::to_string(i + 1);
        const std::string part = "worksheets/sheet" + std::to_string(i + 1) + ".bin";
        workbook += record(156, u32(sheets[i].state) + u32(static_cast<std::uint32_t>(i + 1)) +
                                    wide(id) + wide(sheets[i].name));
        relationships += relationship(id, sheets[i].role, part);
        package.setPart("xl/" + part,
                        record(129) + record(145) + sheets[i].records + record(146) + record(130));
    }
    workbook += record(144) + record(132);
    if (!sharedStringRecords.empty()) {
        relationships += relationship("rIdS", "sharedStrings", "sharedStrings.bin");
        package.setPart("xl/sharedStrings.bin",
                        record(159, u32(0) + u32(0)) + sharedStringRecords + record(160));
    }
    if (!styleRecords.empty()) {
        relationships += relationship("rIdY", "styles", "styles.bin");
        package.setPart("xl/styles.bin", record(278) + styleRecords + record(279));
    }
    package.setPart("xl/workbook.bin", workbook);
    package.setPart("xl/_rels/workbook.bin.rels", relationships + "</Relationships>");
    return package;
}

}  // namespace tabulon::testing::xlsb

// Test helpers that build BIFF records, workbook streams and compound files byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tabulon::workbook::xls::testing {

// Little-endian fields appended one after another.
class Bytes {
  public:
    Bytes& u8(unsigned v);
    Bytes& u16(unsigned v);
    Bytes& u32(std::uint32_t v);
    Bytes& f64(double v);
    Bytes& raw(const std::string& bytes);
    // A BIFF8 string: 16-bit count, flags byte 0 and Latin-1 characters.
    Bytes& text8(const std::string& latin1);
    const std::string& str() const { return bytes_; }
    operator std::string() const { return bytes_; }

  private:
    std::string bytes_;
};

// One record: type, length, data.
std::string record(std::uint16_t type, const std::string& data);

struct SheetSpec {
    std::string name;
    std::vector<std::string> records;  // between the sheet's BOF and EOF
    std::uint8_t sheetType = 0;        // BOUNDSHEET: 0 worksheet, 1 macro, 2 chart
    std::uint16_t substream = 0x0010;  // BOF: 0x10 worksheet, 0x20 chart
    std::uint8_t visibility = 0;
};

// A BIFF8 (or, with biff5, BIFF5) workbook stream: BOF, the globals records, a BOUNDSHEET per
// sheet with its position, EOF, then each sheet's substream.
std::string workbookStream(const std::vector<std::string>& globals,
                           const std::vector<SheetSpec>& sheets, bool biff5 = false);

// A compound file with the streams in the root storage; streams under 4096 bytes go to the mini
// stream. shift 9 gives 512-byte sectors (version 3), 12 gives 4096 (version 4).
std::string compoundFile(const std::vector<std::pair<std::string, std::string>>& streams,
                         unsigned shift = 9);

// Writes the bytes to a fresh file in the temporary folder and returns its path.
std::string writeTempFile(const std::string& name, const std::string& bytes);

}  // namespace tabulon::workbook::xls::testing

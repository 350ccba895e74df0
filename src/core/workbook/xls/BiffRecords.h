// The record layer of a BIFF stream: record ids, versions, and the walk from record to record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace tabulon::workbook::xls {

// A record or stream that does not hold what its lengths promise; the reader turns it into a
// ReadError that names the sheet.
class BiffDamage : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class BiffVersion { Biff2, Biff3, Biff4, Biff5, Biff8 };

namespace record {
inline constexpr std::uint16_t kBlank2 = 0x0001;
inline constexpr std::uint16_t kInteger2 = 0x0002;
inline constexpr std::uint16_t kNumber2 = 0x0003;
inline constexpr std::uint16_t kLabel2 = 0x0004;
inline constexpr std::uint16_t kBoolErr2 = 0x0005;
inline constexpr std::uint16_t kFormula = 0x0006;  // BIFF2, BIFF5 and BIFF8
inline constexpr std::uint16_t kString2 = 0x0007;
inline constexpr std::uint16_t kBof2 = 0x0009;
inline constexpr std::uint16_t kEof = 0x000A;
inline constexpr std::uint16_t kFormat2 = 0x001E;  // BIFF2 and BIFF3
inline constexpr std::uint16_t kDateMode = 0x0022;
inline constexpr std::uint16_t kFilePass = 0x002F;
inline constexpr std::uint16_t kContinue = 0x003C;
inline constexpr std::uint16_t kCodePage = 0x0042;
inline constexpr std::uint16_t kWsBool = 0x0081;
inline constexpr std::uint16_t kBoundSheet = 0x0085;
inline constexpr std::uint16_t kMulRk = 0x00BD;
inline constexpr std::uint16_t kMulBlank = 0x00BE;
inline constexpr std::uint16_t kRString = 0x00D6;
inline constexpr std::uint16_t kXf = 0x00E0;
inline constexpr std::uint16_t kSst = 0x00FC;
inline constexpr std::uint16_t kLabelSst = 0x00FD;
inline constexpr std::uint16_t kDimension = 0x0200;
inline constexpr std::uint16_t kBlank = 0x0201;
inline constexpr std::uint16_t kNumber = 0x0203;
inline constexpr std::uint16_t kLabel = 0x0204;
inline constexpr std::uint16_t kBoolErr = 0x0205;
inline constexpr std::uint16_t kFormula3 = 0x0206;
inline constexpr std::uint16_t kString = 0x0207;
inline constexpr std::uint16_t kBof3 = 0x0209;
inline constexpr std::uint16_t kXf3 = 0x0243;
inline constexpr std::uint16_t kRk = 0x027E;
inline constexpr std::uint16_t kFormula4 = 0x0406;
inline constexpr std::uint16_t kBof4 = 0x0409;
inline constexpr std::uint16_t kFormat = 0x041E;  // BIFF4 and later
inline constexpr std::uint16_t kXf4 = 0x0443;
inline constexpr std::uint16_t kBof = 0x0809;  // BIFF5 and BIFF8
}  // namespace record

// The substream types that a BOF record announces.
inline constexpr std::uint16_t kWorkbookGlobals = 0x0005;
inline constexpr std::uint16_t kWorksheet = 0x0010;

struct BiffRecord {
    std::uint16_t type = 0;
    std::size_t offset = 0;  // of the record's header in the stream
    std::span<const unsigned char> data;
};

class BiffStream {
  public:
    explicit BiffStream(std::span<const unsigned char> bytes) : bytes_(bytes) {}

    // The next record; false at the end of the stream. Throws BiffDamage when a record runs past
    // the stream's end.
    bool next(BiffRecord& record);
    // The type of the record that next() would give, or -1 at the end.
    int peekType() const;
    // Moves to a record that starts at that offset (as BOUNDSHEET gives it).
    void seek(std::size_t offset);
    // Where the next record starts.
    std::size_t position() const { return position_; }

  private:
    std::span<const unsigned char> bytes_;
    std::size_t position_ = 0;
};

// The version and substream type of a BOF record, or nothing when the record is no BOF.
struct BofInfo {
    BiffVersion version;
    std::uint16_t substream;
};
bool readBof(const BiffRecord& record, BofInfo& info);

}  // namespace tabulon::workbook::xls

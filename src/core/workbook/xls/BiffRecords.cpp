// Walking the records of a BIFF stream and reading BOF records.
#include "core/workbook/xls/BiffRecords.h"

#include <cstring>

namespace tabulon::workbook::xls {

namespace {

std::uint16_t u16(const unsigned char* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

}  // namespace

bool BiffStream::next(BiffRecord& record) {
    if (position_ >= bytes_.size()) return false;
    if (bytes_.size() - position_ < 4) throw BiffDamage("a record header is cut short");
    const std::uint16_t type = u16(bytes_.data() + position_);
    const std::size_t length = u16(bytes_.data() + position_ + 2);
    if (bytes_.size() - position_ - 4 < length)
        throw BiffDamage("a record runs past the end of its stream");
    record.type = type;
    record.offset = position_;
    record.data = bytes_.subspan(position_ + 4, length);
    position_ += 4 + length;
    return true;
}

int BiffStream::peekType() const {
    if (bytes_.size() - position_ < 4 || position_ >= bytes_.size()) return -1;
    return u16(bytes_.data() + position_);
}

void BiffStream::seek(std::size_t offset) {
    if (offset >= bytes_.size()) throw BiffDamage("a sheet starts beyond the end of its stream");
    position_ = offset;
}

bool readBof(const BiffRecord& record, BofInfo& info) {
    const auto& d = record.data;
    switch (record.type) {
        case record::kBof2:
            info.version = BiffVersion::Biff2;
            break;
        case record::kBof3:
            info.version = BiffVersion::Biff3;
            break;
        case record::kBof4:
            info.version = BiffVersion::Biff4;
            break;
        case record::kBof:
            if (d.size() < 4) return false;
            // Excel 97 and later write version 0x0600 and a 16-byte record; Excel 5 and 95 write
            // 0x0500 and 8 bytes.
            info.version = u16(d.data()) == 0x0600 || (u16(d.data()) != 0x0500 && d.size() >= 16)
                               ? BiffVersion::Biff8
                               : BiffVersion::Biff5;
            break;
        default:
            return false;
    }
    info.substream = d.size() >= 4 ? u16(d.data() + 2) : kWorksheet;
    return true;
}

}  // namespace tabulon::workbook::xls

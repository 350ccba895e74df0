// A deflated zip entry read through its compressed bytes and inflated here, with its CRC-32
// checked against the zip's directory: libzip's own inflation, faster.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/workbook/RawInflater.h"

struct zip_file;

namespace tabulon::workbook {

// A place in an entry's content from which it can be inflated without inflating what comes
// before it again.
struct InflatePoint {
    std::uint64_t content = 0;                    // the bytes of content before it
    std::uint64_t compressed = 0;                 // the compressed bytes they take
    std::shared_ptr<const RawInflater> inflater;  // as it stood there
};

class InflatedEntry {
  public:
    // compressed: the entry opened for its compressed bytes (ZIP_FL_COMPRESSED); crc: the
    // directory's CRC-32 of the entry's content.
    InflatedEntry(zip_file* compressed, std::uint32_t crc);
    // The same, inflating from a point that an earlier read of the entry kept: its compressed
    // bytes before the point are passed over, not inflated.
    InflatedEntry(zip_file* compressed, std::uint32_t crc, const InflatePoint& from);

    // As zip_fread on the entry opened without that flag: fills the buffer with inflated bytes
    // and returns their count, 0 at the end, -1 on failure with error() the libzip error code
    // that zip_fread gives for it (bad compressed data, a CRC that does not match, a read
    // error). The stream may end without its last block, as libzip allows; the CRC then tells.
    std::int64_t read(char* buffer, std::size_t capacity);
    int error() const { return error_; }
    // Where the content read so far ends.
    InflatePoint point() const;

  private:
    zip_file* compressed_;
    std::uint32_t crc_;
    std::unique_ptr<RawInflater> inflater_;
    std::uint64_t content_ = 0;  // bytes of content read so far
    std::uint64_t taken_ = 0;    // compressed bytes given to the inflater so far
    std::vector<unsigned char> input_;
    bool inputEnded_ = false;
    int error_ = 0;
};

}  // namespace tabulon::workbook

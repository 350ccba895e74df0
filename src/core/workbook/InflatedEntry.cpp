// Reading compressed bytes from libzip and inflating them, with libzip's verdicts on damage.
#include "core/workbook/InflatedEntry.h"

#include <zip.h>

#include <cstdio>

namespace tabulon::workbook {

namespace {

constexpr std::size_t kInputSize = 256 * 1024;

}  // namespace

InflatedEntry::InflatedEntry(zip_file* compressed, std::uint32_t crc)
    : compressed_(compressed),
      crc_(crc),
      inflater_(std::make_unique<RawInflater>()),
      input_(kInputSize) {}

InflatedEntry::InflatedEntry(zip_file* compressed, std::uint32_t crc, const InflatePoint& from)
    : compressed_(compressed),
      crc_(crc),
      inflater_(from.inflater->copy()),
      content_(from.content),
      input_(kInputSize) {
    // The compressed bytes are read as stored, in which libzip seeks without reading what lies
    // before the point; read() reports it when it cannot.
    if (zip_fseek(compressed_, static_cast<zip_int64_t>(from.compressed), SEEK_SET) != 0) {
        error_ = zip_error_code_zip(zip_file_get_error(compressed_));
        if (error_ == 0) error_ = ZIP_ER_SEEK;
        return;
    }
    taken_ = from.compressed;
}

InflatePoint InflatedEntry::point() const {
    return {content_, taken_ - inflater_->inputLeft(), inflater_->copy()};
}

std::int64_t InflatedEntry::read(char* buffer, std::size_t capacity) {
    if (error_ != 0) return -1;
    auto* out = reinterpret_cast<unsigned char*>(buffer);
    std::size_t written = 0;
    while (written < capacity && !inflater_->finished()) {
        if (inflater_->inputLeft() == 0 && !inputEnded_) {
            const zip_int64_t n = zip_fread(compressed_, input_.data(), input_.size());
            if (n < 0) {
                error_ = zip_error_code_zip(zip_file_get_error(compressed_));
                return -1;
            }
            inputEnded_ = n == 0;
            inflater_->setInput(input_.data(), static_cast<std::size_t>(n));
            taken_ += static_cast<std::uint64_t>(n);
        }
        // Without new input the inflater still gives what it holds back from the last call.
        const std::size_t n = inflater_->inflate(out + written, capacity - written);
        if (inflater_->damaged()) {
            // libzip gives none of the bytes of the read that met the damage.
            error_ = ZIP_ER_ZLIB;
            return -1;
        }
        written += n;
        content_ += n;
        if (n == 0 && inflater_->inputLeft() == 0 && inputEnded_) break;
    }
    if (written == 0 && inflater_->crc() != crc_) {
        error_ = ZIP_ER_CRC;
        return -1;
    }
    return static_cast<std::int64_t>(written);
}

}  // namespace tabulon::workbook

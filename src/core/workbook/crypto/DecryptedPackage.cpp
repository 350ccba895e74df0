// Segment-wise decryption of an EncryptedPackage stream.
#include "core/workbook/crypto/DecryptedPackage.h"

#include <algorithm>

#include "core/workbook/ReadError.h"
#include "core/workbook/crypto/OfficeKeys.h"

namespace tabulon::workbook::crypto {

namespace {

constexpr std::size_t kSizeField = 8;

}  // namespace

DecryptedPackage::DecryptedPackage(const std::string& path, Bytes stream, ByteView key,
                                   std::optional<AgileKeyParameters> agile)
    : stream_(std::move(stream)), aes_(key), agile_(std::move(agile)) {
    const auto damaged = [&] {
        throw ReadError(ReadErrorKind::DamagedContainer, {path, "EncryptedPackage", {}, {}},
                        "its encrypted package is shorter than its stated size");
    };
    if (stream_.size() < kSizeField) damaged();
    for (std::size_t i = 0; i < kSizeField; ++i)
        size_ |= static_cast<std::uint64_t>(stream_[i]) << (8 * i);
    const std::uint64_t cipherBytes = stream_.size() - kSizeField;
    // The ciphertext covers the plain size rounded up to whole AES blocks.
    if (size_ > cipherBytes || (size_ + 15) / 16 * 16 > cipherBytes) damaged();
}

void DecryptedPackage::loadSegment(std::uint64_t index) {
    const std::uint64_t start = index * kSegmentSize;
    const std::uint64_t cipherBytes = stream_.size() - kSizeField;
    const std::size_t length =
        static_cast<std::size_t>(std::min<std::uint64_t>(kSegmentSize, cipherBytes - start)) / 16 *
        16;
    segment_.assign(stream_.begin() + static_cast<std::ptrdiff_t>(kSizeField + start),
                    stream_.begin() + static_cast<std::ptrdiff_t>(kSizeField + start + length));
    if (agile_)
        aes_.decryptCbc(agileIv(*agile_, littleEndian32(static_cast<std::uint32_t>(index))),
                        segment_.data(), segment_.size());
    else
        aes_.decryptEcb(segment_.data(), segment_.size());
    loaded_ = index;
}

std::size_t DecryptedPackage::read(std::uint64_t offset, unsigned char* out, std::size_t count) {
    std::size_t copied = 0;
    while (copied < count && offset < size_) {
        const std::uint64_t index = offset / kSegmentSize;
        if (index != loaded_) loadSegment(index);
        const std::size_t within = static_cast<std::size_t>(offset % kSegmentSize);
        const std::size_t n = static_cast<std::size_t>(
            std::min<std::uint64_t>({count - copied, segment_.size() - within, size_ - offset}));
        std::copy_n(segment_.begin() + static_cast<std::ptrdiff_t>(within), n, out + copied);
        copied += n;
        offset += n;
    }
    return copied;
}

}  // namespace tabulon::workbook::crypto

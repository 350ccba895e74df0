// The EncryptedPackage stream of an encrypted OOXML file, decrypted segment by segment as the
// zip reader asks for its bytes: no decrypted copy of the whole package is ever held.
#pragma once

#include <optional>
#include <string>

#include "core/workbook/PackageBytes.h"
#include "core/workbook/crypto/Ciphers.h"
#include "core/workbook/crypto/EncryptionInfo.h"

namespace tabulon::workbook::crypto {

class DecryptedPackage : public PackageBytes {
  public:
    // stream: the EncryptedPackage stream (its 8-byte plain size, then the ciphertext). agile:
    // the key data of agile encryption (AES-CBC per 4096-byte segment); without it the package
    // is standard encryption (AES-ECB). Throws ReadError (damaged) when the stream is shorter
    // than its stated size; path names the workbook.
    DecryptedPackage(const std::string& path, Bytes stream, ByteView key,
                     std::optional<AgileKeyParameters> agile);

    std::uint64_t size() const override { return size_; }
    std::size_t read(std::uint64_t offset, unsigned char* out, std::size_t count) override;

    static constexpr std::size_t kSegmentSize = 4096;

  private:
    void loadSegment(std::uint64_t index);

    Bytes stream_;
    AesDecryptor aes_;
    std::optional<AgileKeyParameters> agile_;
    std::uint64_t size_ = 0;
    std::uint64_t loaded_ = UINT64_MAX;  // the segment in segment_
    Bytes segment_;
};

}  // namespace tabulon::workbook::crypto

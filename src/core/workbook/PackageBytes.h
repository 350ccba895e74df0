// Random access to the bytes of a package that does not sit on disk as it is read, such as an
// OOXML package decrypted segment by segment.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tabulon::workbook {

class PackageBytes {
  public:
    virtual ~PackageBytes() = default;
    virtual std::uint64_t size() const = 0;
    // Copies up to count bytes from the offset; returns how many (0 at the end). Throws
    // ReadError when the bytes cannot be produced.
    virtual std::size_t read(std::uint64_t offset, unsigned char* out, std::size_t count) = 0;
};

}  // namespace tabulon::workbook

// A compound file (the container of legacy and encrypted Office files): its directory and streams.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::workbook::cfb {

inline constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

struct DirectoryEntry {
    std::string name;       // non-ASCII characters as '?'
    std::uint8_t type = 0;  // 1 storage, 2 stream, 5 root
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    std::uint32_t child = 0;
    std::uint32_t start = 0;
    std::uint64_t size = 0;
};

// The whole file is held in memory; every sector chain is checked for range and cycles, and no
// stream is taken larger than the file, so a hostile file neither loops nor allocates hugely.
class CompoundFile {
  public:
    // Throws ReadError: CannotRead, TooLarge, or DamagedContainer saying what is broken.
    explicit CompoundFile(const std::string& path);

    // The path it was read from, for the readers' error messages.
    const std::string& path() const { return path_; }
    // The index of the stream of that name (ASCII letters in any case) directly in the root
    // storage, if there is one.
    std::optional<std::size_t> findRootStream(std::string_view name) const;
    // The bytes of the stream at that index. Throws ReadError for a broken chain.
    std::vector<unsigned char> readStream(std::size_t index) const;

  private:
    [[noreturn]] void fail(const std::string& detail) const;
    std::vector<std::uint32_t> chain(std::uint32_t start, const std::vector<std::uint32_t>& table,
                                     std::uint64_t maxLength) const;
    void readSector(std::uint32_t sid, unsigned char* out) const;
    void readAllocationTables();
    void readDirectory();

    std::string path_;
    std::vector<unsigned char> bytes_;  // of the file
    unsigned shift_ = 9;
    std::size_t sectorSize_ = 512;
    std::uint32_t sectorCount_ = 0;
    std::uint32_t majorVersion_ = 3;
    std::uint32_t miniCutoff_ = 4096;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<DirectoryEntry> entries_;
};

}  // namespace tabulon::workbook::cfb

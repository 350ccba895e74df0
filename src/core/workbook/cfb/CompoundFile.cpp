// Walks a compound file's sector allocation table just far enough to list its directory.
#include "core/workbook/cfb/CompoundFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace tabulon::workbook::cfb {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::size_t kDirectoryEntrySize = 128;
constexpr std::size_t kHeaderFatEntries = 109;

std::uint32_t u32(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;  // compound files are little-endian, as is every platform we build for
}
std::uint16_t u16(const char* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

class Reader {
  public:
    explicit Reader(const std::string& path) : in_(path, std::ios::binary) {
        in_.seekg(0, std::ios::end);
        size_ = in_ ? static_cast<std::uint64_t>(in_.tellg()) : 0;
        in_.seekg(0);
    }
    bool read(std::uint64_t offset, char* out, std::size_t n) {
        if (!in_ || offset + n > size_) return false;
        in_.seekg(static_cast<std::streamoff>(offset));
        return static_cast<bool>(in_.read(out, static_cast<std::streamsize>(n)));
    }
    std::uint64_t size() const { return size_; }

  private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

}  // namespace

std::optional<std::vector<std::string>> compoundEntryNames(const std::string& path) {
    Reader file(path);
    char header[512];
    if (!file.read(0, header, sizeof header) || std::memcmp(header, kSignature, 8) != 0)
        return std::nullopt;
    const unsigned shift = u16(header + 0x1E);
    if (shift != 9 && shift != 12) return std::nullopt;
    const std::size_t sectorSize = std::size_t{1} << shift;
    const std::uint64_t sectorCount = file.size() >> shift;
    auto sectorOffset = [&](std::uint32_t sid) { return (std::uint64_t{sid} + 1) << shift; };

    // The sectors that hold the allocation table: 109 listed in the header, the rest in a chain.
    std::vector<std::uint32_t> fatSectors;
    const std::uint32_t fatSectorCount = u32(header + 0x2C);
    if (fatSectorCount > sectorCount) return std::nullopt;
    for (std::size_t i = 0; i < kHeaderFatEntries && fatSectors.size() < fatSectorCount; ++i)
        fatSectors.push_back(u32(header + 0x4C + 4 * i));
    std::vector<char> sector(sectorSize);
    std::uint32_t difat = u32(header + 0x44);
    for (std::uint64_t guard = 0; fatSectors.size() < fatSectorCount && difat <= kMaxRegularSector;
         ++guard) {
        if (guard > sectorCount || !file.read(sectorOffset(difat), sector.data(), sectorSize))
            return std::nullopt;
        for (std::size_t i = 0; i + 1 < sectorSize / 4 && fatSectors.size() < fatSectorCount; ++i)
            fatSectors.push_back(u32(sector.data() + 4 * i));
        difat = u32(sector.data() + sectorSize - 4);
    }

    std::vector<std::uint32_t> fat;
    fat.reserve(fatSectors.size() * sectorSize / 4);
    for (const std::uint32_t sid : fatSectors) {
        if (sid > kMaxRegularSector || !file.read(sectorOffset(sid), sector.data(), sectorSize))
            return std::nullopt;
        for (std::size_t i = 0; i < sectorSize / 4; ++i) fat.push_back(u32(sector.data() + 4 * i));
    }

    std::vector<std::string> names;
    std::uint32_t sid = u32(header + 0x30);
    for (std::size_t steps = 0; sid != kEndOfChain; ++steps) {
        if (sid >= fat.size() || steps > fat.size() ||
            !file.read(sectorOffset(sid), sector.data(), sectorSize))
            return std::nullopt;
        for (std::size_t e = 0; e + kDirectoryEntrySize <= sectorSize; e += kDirectoryEntrySize) {
            const char* entry = sector.data() + e;
            const std::size_t bytes = std::min<std::size_t>(u16(entry + 64), 64);
            if (entry[66] == 0 || bytes < 2) continue;  // unused entry
            std::string name;
            for (std::size_t i = 0; i + 1 < bytes; i += 2) {
                const std::uint16_t unit = u16(entry + i);
                if (unit == 0) break;
                name.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
            }
            names.push_back(std::move(name));
        }
        sid = fat[sid];
    }
    return names;
}

}  // namespace tabulon::workbook::cfb

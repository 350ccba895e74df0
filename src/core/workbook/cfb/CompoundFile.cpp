// Reading a compound file: header, sector allocation tables, directory and stream chains.
#include "core/workbook/cfb/CompoundFile.h"

#include <algorithm>
#include <cstring>

#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookBytes.h"

namespace tabulon::workbook::cfb {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kDirectoryEntrySize = 128;
constexpr std::size_t kHeaderFatEntries = 109;
constexpr std::size_t kMiniSectorSize = 64;

// Compound files are little-endian, as is every platform we build for.
std::uint32_t u32(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
std::uint16_t u16(const unsigned char* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
std::uint64_t u64(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

}  // namespace

CompoundFile::CompoundFile(const std::string& path) : path_(path), bytes_(readWorkbookBytes(path)) {
    if (bytes_.size() < kHeaderSize || std::memcmp(bytes_.data(), kSignature, 8) != 0)
        fail("its header is missing");
    const unsigned char* header = bytes_.data();
    shift_ = u16(header + 0x1E);
    if (shift_ != 9 && shift_ != 12) fail("its sector size is not valid");
    sectorSize_ = std::size_t{1} << shift_;
    majorVersion_ = u16(header + 0x1A);
    miniCutoff_ = u32(header + 0x38);
    // Sectors follow the header's own sector; the last one may be cut short.
    sectorCount_ =
        bytes_.size() <= sectorSize_
            ? 0
            : static_cast<std::uint32_t>((bytes_.size() - sectorSize_ + sectorSize_ - 1) >> shift_);
    readAllocationTables();
    readDirectory();
}

void CompoundFile::fail(const std::string& detail) const {
    throw ReadError(ReadErrorKind::DamagedContainer, placeInFile(path_),
                    "its compound file " + detail);
}

void CompoundFile::readSector(std::uint32_t sid, unsigned char* out) const {
    if (sid >= sectorCount_) fail("refers to a sector beyond its end");
    const std::uint64_t offset = (std::uint64_t{sid} + 1) << shift_;
    const std::size_t available =
        static_cast<std::size_t>(std::min<std::uint64_t>(sectorSize_, bytes_.size() - offset));
    std::memcpy(out, bytes_.data() + offset, available);
    std::fill(out + available, out + sectorSize_, 0);
}

std::vector<std::uint32_t> CompoundFile::chain(std::uint32_t start,
                                               const std::vector<std::uint32_t>& table,
                                               std::uint64_t maxLength) const {
    std::vector<std::uint32_t> sectors;
    std::vector<bool> visited(table.size());
    for (std::uint32_t sid = start; sid != kEndOfChain && sectors.size() < maxLength;
         sid = table[sid]) {
        if (sid >= table.size()) fail("has a sector chain that leaves its allocation table");
        if (visited[sid]) fail("has a sector chain that runs in a circle");
        visited[sid] = true;
        sectors.push_back(sid);
    }
    return sectors;
}

void CompoundFile::readAllocationTables() {
    const unsigned char* header = bytes_.data();
    // The sectors of the allocation table: 109 listed in the header, the rest in a chain of
    // DIFAT sectors whose last entry names the next one.
    const std::uint32_t fatSectorCount = u32(header + 0x2C);
    if (fatSectorCount > sectorCount_) fail("claims more table sectors than it holds");
    std::vector<std::uint32_t> fatSectors;
    for (std::size_t i = 0; i < kHeaderFatEntries && fatSectors.size() < fatSectorCount; ++i)
        fatSectors.push_back(u32(header + 0x4C + 4 * i));
    std::vector<unsigned char> sector(sectorSize_);
    std::uint32_t difat = u32(header + 0x44);
    for (std::uint32_t steps = 0; fatSectors.size() < fatSectorCount; ++steps) {
        if (difat > kMaxRegularSector || steps > sectorCount_) fail("has a broken DIFAT chain");
        readSector(difat, sector.data());
        for (std::size_t i = 0; i + 1 < sectorSize_ / 4 && fatSectors.size() < fatSectorCount; ++i)
            fatSectors.push_back(u32(sector.data() + 4 * i));
        difat = u32(sector.data() + sectorSize_ - 4);
    }

    fat_.reserve(fatSectors.size() * (sectorSize_ / 4));
    for (const std::uint32_t sid : fatSectors) {
        readSector(sid, sector.data());
        for (std::size_t i = 0; i < sectorSize_ / 4; ++i)
            fat_.push_back(u32(sector.data() + 4 * i));
    }

    const std::uint32_t miniFatSectors = u32(header + 0x40);
    for (const std::uint32_t sid : chain(u32(header + 0x3C), fat_, miniFatSectors)) {
        readSector(sid, sector.data());
        for (std::size_t i = 0; i < sectorSize_ / 4; ++i)
            miniFat_.push_back(u32(sector.data() + 4 * i));
    }
}

void CompoundFile::readDirectory() {
    std::vector<unsigned char> sector(sectorSize_);
    for (const std::uint32_t sid : chain(u32(bytes_.data() + 0x30), fat_, sectorCount_)) {
        readSector(sid, sector.data());
        for (std::size_t e = 0; e + kDirectoryEntrySize <= sectorSize_; e += kDirectoryEntrySize) {
            const unsigned char* raw = sector.data() + e;
            DirectoryEntry entry;
            const std::size_t bytes = std::min<std::size_t>(u16(raw + 64), 64);
            for (std::size_t i = 0; i + 1 < bytes; i += 2) {
                const std::uint16_t unit = u16(raw + i);
                if (unit == 0) break;
                entry.name.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
            }
            entry.type = raw[66];
            entry.left = u32(raw + 68);
            entry.right = u32(raw + 72);
            entry.child = u32(raw + 76);
            entry.start = u32(raw + 116);
            // Version 3 files may leave garbage in the size's high half.
            entry.size = majorVersion_ == 3 ? u32(raw + 120) : u64(raw + 120);
            entries_.push_back(std::move(entry));
        }
    }
    if (entries_.empty() || entries_.front().type != 5) fail("has no root entry");
}

std::optional<std::size_t> CompoundFile::findRootStream(std::string_view name) const {
    // The root's children form a tree through the left and right links.
    std::vector<std::uint32_t> pending{entries_.front().child};
    std::vector<bool> seen(entries_.size());
    while (!pending.empty()) {
        const std::uint32_t id = pending.back();
        pending.pop_back();
        if (id == kNoEntry || id >= entries_.size() || seen[id]) continue;
        seen[id] = true;
        const DirectoryEntry& entry = entries_[id];
        if (entry.type == 2 && sameNameIgnoringCase(entry.name, name)) return id;
        pending.push_back(entry.left);
        pending.push_back(entry.right);
    }
    return std::nullopt;
}

std::vector<unsigned char> CompoundFile::readStream(std::size_t index) const {
    const DirectoryEntry& entry = entries_.at(index);
    if (entry.size > bytes_.size()) fail("has a stream larger than the file");
    const auto size = static_cast<std::size_t>(entry.size);
    std::vector<unsigned char> out;
    out.reserve(size);

    if (index == 0 || entry.size >= miniCutoff_) {
        const auto sectors = chain(entry.start, fat_, (entry.size + sectorSize_ - 1) >> shift_);
        if ((std::uint64_t{sectors.size()} << shift_) < entry.size) fail("has a stream cut short");
        std::vector<unsigned char> sector(sectorSize_);
        for (const std::uint32_t sid : sectors) {
            readSector(sid, sector.data());
            out.insert(out.end(), sector.begin(),
                       sector.begin() +
                           static_cast<std::ptrdiff_t>(std::min(sectorSize_, size - out.size())));
        }
        return out;
    }

    // Small streams live in 64-byte sectors inside the root entry's stream.
    const std::vector<unsigned char> miniStream = readStream(0);
    const auto sectors =
        chain(entry.start, miniFat_, (entry.size + kMiniSectorSize - 1) / kMiniSectorSize);
    if (sectors.size() * kMiniSectorSize < entry.size) fail("has a small stream cut short");
    for (const std::uint32_t sid : sectors) {
        const std::size_t offset = std::size_t{sid} * kMiniSectorSize;
        if (offset + kMiniSectorSize > miniStream.size())
            fail("has a small stream outside its mini stream");
        const std::size_t n = std::min(kMiniSectorSize, size - out.size());
        out.insert(out.end(), miniStream.begin() + static_cast<std::ptrdiff_t>(offset),
                   miniStream.begin() + static_cast<std::ptrdiff_t>(offset + n));
    }
    return out;
}

}  // namespace tabulon::workbook::cfb

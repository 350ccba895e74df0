// Building BIFF streams and compound files for the reader's tests.
#include "BiffBuilder.h"

#include <cstring>
#include <fstream>

#include "ScratchFolder.h"

namespace tabulon::workbook::xls::testing {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;

void put32(std::string& s, std::size_t at, std::uint32_t v) { std::memcpy(&s[at], &v, 4); }

std::string bof(std::uint16_t substream, bool biff5) {
    Bytes b;
    b.u16(biff5 ? 0x0500 : 0x0600).u16(substream).u16(0x0DBB).u16(0x07CC);
    if (!biff5) b.u32(0).u32(0);
    return record(0x0809, b);
}

std::string boundSheet(std::uint32_t position, const SheetSpec& sheet, bool biff5) {
    Bytes b;
    b.u32(position).u8(sheet.visibility).u8(sheet.sheetType).u8(unsigned(sheet.name.size()));
    if (!biff5) b.u8(0);
    return record(0x0085, b.raw(sheet.name));
}

}  // namespace

Bytes& Bytes::u8(unsigned v) {
    bytes_.push_back(static_cast<char>(v));
    return *this;
}
Bytes& Bytes::u16(unsigned v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
Bytes& Bytes::u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
Bytes& Bytes::f64(double v) {
    char raw[8];
    std::memcpy(raw, &v, 8);
    bytes_.append(raw, 8);
    return *this;
}
Bytes& Bytes::raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
}
Bytes& Bytes::text8(const std::string& latin1) {
    return u16(unsigned(latin1.size())).u8(0).raw(latin1);
}

std::string record(std::uint16_t type, const std::string& data) {
    return Bytes().u16(type).u16(unsigned(data.size())).raw(data);
}

std::string workbookStream(const std::vector<std::string>& globals,
                           const std::vector<SheetSpec>& sheets, bool biff5) {
    std::string head = bof(0x0005, biff5);
    for (const std::string& r : globals) head += r;
    std::size_t size = head.size() + 4;  // and the EOF
    for (const SheetSpec& sheet : sheets) size += boundSheet(0, sheet, biff5).size();

    std::string substreams;
    std::string bounds;
    for (const SheetSpec& sheet : sheets) {
        bounds += boundSheet(std::uint32_t(size + substreams.size()), sheet, biff5);
        substreams += bof(sheet.substream, biff5);
        for (const std::string& r : sheet.records) substreams += r;
        substreams += record(0x000A, {});
    }
    return head + bounds + record(0x000A, {}) + substreams;
}

std::string compoundFile(const std::vector<std::pair<std::string, std::string>>& streams,
                         unsigned shift) {
    const std::size_t sector = std::size_t{1} << shift;
    const std::size_t perSector = sector / 4;
    const auto sectorsFor = [&](std::size_t bytes) { return (bytes + sector - 1) / sector; };

    std::string mini;
    std::vector<std::uint32_t> miniFat;
    std::vector<std::uint32_t> starts(streams.size(), kEndOfChain);
    std::size_t bigSectors = 0;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::string& data = streams[i].second;
        if (data.size() >= 4096) {
            bigSectors += sectorsFor(data.size());
            continue;
        }
        if (data.empty()) continue;
        starts[i] = std::uint32_t(mini.size() / 64);
        const std::size_t count = (data.size() + 63) / 64;
        for (std::size_t k = 0; k < count; ++k)
            miniFat.push_back(k + 1 < count ? std::uint32_t(miniFat.size() + 1) : kEndOfChain);
        mini += data;
        mini.resize(miniFat.size() * 64, '\0');
    }
    const std::size_t dirSectors = sectorsFor((streams.size() + 1) * 128);
    const std::size_t miniFatSectors = sectorsFor(miniFat.size() * 4);
    const std::size_t miniSectors = sectorsFor(mini.size());
    const std::size_t data = dirSectors + miniFatSectors + miniSectors + bigSectors;
    std::size_t fatCount = 1;
    std::size_t difatCount = 0;
    for (;; ++fatCount) {
        difatCount = fatCount > 109 ? (fatCount - 109 + perSector - 2) / (perSector - 1) : 0;
        if (fatCount * perSector >= data + fatCount + difatCount) break;
    }

    std::vector<std::uint32_t> fat(fatCount * perSector, kFree);
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < fatCount; ++i) fat[next++] = 0xFFFFFFFD;
    const std::uint32_t firstDifat = next;
    for (std::size_t i = 0; i < difatCount; ++i) fat[next++] = 0xFFFFFFFC;
    const auto allocate = [&](std::size_t count) {
        if (count == 0) return kEndOfChain;
        const std::uint32_t first = next;
        for (std::size_t k = 0; k < count; ++k, ++next)
            fat[next] = k + 1 < count ? next + 1 : kEndOfChain;
        return first;
    };
    const std::uint32_t dirStart = allocate(dirSectors);
    const std::uint32_t miniFatStart = allocate(miniFatSectors);
    const std::uint32_t miniStart = allocate(miniSectors);
    for (std::size_t i = 0; i < streams.size(); ++i)
        if (streams[i].second.size() >= 4096)
            starts[i] = allocate(sectorsFor(streams[i].second.size()));

    std::string file(sector * (1 + next), '\0');
    const auto at = [&](std::uint32_t sid) { return sector * (sid + 1); };
    std::memcpy(&file[0], "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    Bytes header;
    header.u16(0x3E).u16(shift == 9 ? 3 : 4).u16(0xFFFE).u16(shift).u16(6);
    file.replace(0x18, header.str().size(), header.str());
    put32(file, 0x2C, std::uint32_t(fatCount));
    put32(file, 0x30, dirStart);
    put32(file, 0x38, 4096);
    put32(file, 0x3C, miniFatStart);
    put32(file, 0x40, std::uint32_t(miniFatSectors));
    put32(file, 0x44, difatCount > 0 ? firstDifat : kEndOfChain);
    put32(file, 0x48, std::uint32_t(difatCount));
    for (std::size_t i = 0; i < 109; ++i)
        put32(file, 0x4C + 4 * i, i < fatCount ? std::uint32_t(i) : kFree);
    for (std::size_t d = 0; d < difatCount; ++d) {
        const std::size_t base = at(firstDifat + std::uint32_t(d));
        for (std::size_t k = 0; k + 1 < perSector; ++k) {
            const std::size_t index = 109 + d * (perSector - 1) + k;
            put32(file, base + 4 * k, index < fatCount ? std::uint32_t(index) : kFree);
        }
        put32(file, base + sector - 4,
              d + 1 < difatCount ? firstDifat + std::uint32_t(d) + 1 : kEndOfChain);
    }
    for (std::size_t i = 0; i < fat.size(); ++i) put32(file, at(0) + 4 * i, fat[i]);
    for (std::size_t i = 0; i < miniFat.size(); ++i)
        put32(file, at(miniFatStart) + 4 * i, miniFat[i]);
    if (!mini.empty()) file.replace(at(miniStart), mini.size(), mini);

    const auto entry = [&](std::size_t index, const std::string& name, std::uint8_t type,
                           std::uint32_t right, std::uint32_t child, std::uint32_t start,
                           std::uint64_t size) {
        const std::size_t base = at(dirStart) + 128 * index;
        for (std::size_t k = 0; k < name.size(); ++k) file[base + 2 * k] = name[k];
        Bytes b;
        b.u16(unsigned(2 * name.size() + 2)).u8(type).u8(1).u32(kFree).u32(right).u32(child);
        file.replace(base + 64, b.str().size(), b.str());
        put32(file, base + 116, start);
        std::memcpy(&file[base + 120], &size, 8);
    };
    entry(0, "Root Entry", 5, kFree, streams.empty() ? kFree : 1,
          mini.empty() ? kEndOfChain : miniStart, mini.size());
    for (std::size_t i = 0; i < streams.size(); ++i) {
        entry(i + 1, streams[i].first, 2, i + 1 < streams.size() ? std::uint32_t(i + 2) : kFree,
              kFree, starts[i], streams[i].second.size());
        if (streams[i].second.size() >= 4096)
            file.replace(at(starts[i]), streams[i].second.size(), streams[i].second);
    }
    return file;
}

std::string writeTempFile(const std::string& name, const std::string& bytes) {
    // A folder of this process's own, so that tests running side by side keep their files apart;
    // removed when the process ends.
    static const ::tabulon::testing::ScratchFolder folder;
    const std::string path = folder.file(name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

}  // namespace tabulon::workbook::xls::testing

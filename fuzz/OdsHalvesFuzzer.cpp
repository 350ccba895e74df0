// The ods reader with every table that allows it read in two halves at once, against the same
// reader with one thread a table: the sheets, their cells (kind, style, value, text) and the
// errors must be the same, whatever the input; any difference aborts.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/ods/OdsReader.h"

namespace {

using namespace tabulon::workbook;

// Cells whose text and value are compared; past them, only what the store holds (position,
// kind, style, value bits), so that tables of millions of repeated cells stay quick.
constexpr std::size_t kCellsShown = 100'000;

// A digest of the sheets and their cells, or the error's text.
class Digest {
  public:
    void add(std::string_view bytes) {
        for (const char c : bytes) hash_ = (hash_ ^ static_cast<unsigned char>(c)) * 1099511628211u;
        hash_ = (hash_ ^ 0xFF) * 1099511628211u;  // where the bytes end
    }
    void add(std::uint64_t number) {
        add(std::string_view(reinterpret_cast<const char*>(&number), sizeof number));
    }
    std::uint64_t value() const { return hash_; }

  private:
    std::uint64_t hash_ = 14695981039346656037u;
};

std::uint64_t outcome(const std::string& path, std::uint64_t halvedSize) {
    Digest digest;
    try {
        const auto book = ods::readOds(std::make_unique<ZipArchive>(path), nullptr,
                                       {ods::TablePath::Scanner, nullptr, halvedSize});
        std::size_t shown = 0;
        for (std::size_t s = 0; s < book->worksheetCount(); ++s) {
            const auto& sheet = dynamic_cast<const StoredWorksheet&>(book->worksheet(s));
            digest.add(sheet.name());
            const CellStore& cells = sheet.cells();
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const StoredCell& cell = cells.cell(i);
                digest.add((std::uint64_t{cell.rowAndKind} << 32) |
                           (std::uint64_t{cell.col} << 16) | cell.style);
                if (shown++ < kCellsShown) {
                    const CellValue value = sheet.value(cell.row(), cell.col);
                    std::uint64_t bits = 0;
                    std::memcpy(&bits, &value.number, sizeof bits);
                    digest.add(bits);
                    digest.add(value.text);
                    digest.add(sheet.text(cell.row(), cell.col));
                } else if (cell.kind() == StoredKind::Number) {
                    std::uint64_t bits = 0;
                    std::memcpy(&bits, &cell.number, sizeof bits);
                    digest.add(bits);
                }
            }
            book->release(s);
        }
    } catch (const ReadError& e) {
        digest.add(e.what());
    }
    return digest.value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = tabulon::fuzz::scratchPath();
    tabulon::fuzz::writePackageInput(path, data, size);
    if (outcome(path, 0) != outcome(path, UINT64_MAX)) std::abort();
    return 0;
}

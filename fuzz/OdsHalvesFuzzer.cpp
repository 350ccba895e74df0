// The ods reader with every table that allows it read in two halves at once, against the same
// reader with one thread a table: the sheets, their cells (kind, style, value, text) and the
// errors must be the same, whatever the input; any difference aborts.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzInput.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/ods/OdsReader.h"

namespace {

using namespace tabulon::workbook;

std::string outcome(const std::string& path, std::uint64_t halvedSize) {
    std::string text;
    try {
        const auto book = ods::readOds(std::make_unique<ZipArchive>(path), nullptr,
                                       {ods::TablePath::Scanner, nullptr, halvedSize});
        for (std::size_t s = 0; s < book->worksheetCount(); ++s) {
            const auto& sheet = dynamic_cast<const StoredWorksheet&>(book->worksheet(s));
            text += "sheet " + sheet.name() + '\n';
            const CellStore& cells = sheet.cells();
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const StoredCell& cell = cells.cell(i);
                const CellValue value = sheet.value(cell.row(), cell.col);
                std::uint64_t bits = 0;
                std::memcpy(&bits, &value.number, sizeof bits);
                text += std::to_string(cell.row()) + ',' + std::to_string(cell.col) + ',' +
                        std::to_string(static_cast<int>(cell.kind())) + ',' +
                        std::to_string(cell.style) + ',' + std::to_string(bits) + ',' + value.text +
                        ',' + sheet.text(cell.row(), cell.col) + '\n';
            }
            book->release(s);
        }
    } catch (const ReadError& e) {
        text += std::string("error ") + e.what();
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = tabulon::fuzz::scratchPath();
    if (size >= 4 && std::memcmp(data, "PK\x03\x04", 4) == 0)
        tabulon::fuzz::writeWholeFile(path, data, size);
    else
        tabulon::fuzz::writePackage(path, data, size);
    if (outcome(path, 0) != outcome(path, UINT64_MAX)) std::abort();
    return 0;
}

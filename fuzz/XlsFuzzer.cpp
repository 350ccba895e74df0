// The BIFF reader from fuzzer input: a whole compound file (or bare BIFF2-4 file) when the input
// starts like one, else a Workbook stream read directly, past the compound-file layer.
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "ReadEveryCell.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/xls/XlsReader.h"

namespace {

const unsigned char kCompoundSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = tabulon::fuzz::scratchPath();
    if (size >= 8 && std::memcmp(data, kCompoundSignature, 8) == 0) {
        tabulon::fuzz::writeWholeFile(path, data, size);
        tabulon::fuzz::readEveryCell(path);
        return 0;
    }
    try {
        const auto book = tabulon::workbook::xls::readBiffStream(
            "stream", std::vector<unsigned char>(data, data + size));
        for (std::size_t s = 0; s < book->worksheetCount(); ++s) {
            const auto& sheet =
                dynamic_cast<const tabulon::workbook::StoredWorksheet&>(book->worksheet(s));
            for (std::size_t i = 0; i < sheet.cells().size(); ++i)
                (void)sheet.text(sheet.cells().cell(i).row(), sheet.cells().cell(i).col);
            book->release(s);
        }
    } catch (const tabulon::workbook::ReadError&) {
    }
    return 0;
}

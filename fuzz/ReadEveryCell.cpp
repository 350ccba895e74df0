// Reading every stored cell: the used range may be huge and sparse, so only stored cells are
// asked for, as a result-size limit would stop an export of the rest.
#include "ReadEveryCell.h"

#include <cstdlib>

#include "core/workbook/ReadError.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::fuzz {

namespace {

// 32,767 characters of up to three bytes, through a 255-character code of '@' placeholders
// and literals: anything longer is text amplification the budgets should have stopped.
constexpr std::size_t kMaxCellTextBytes = 256 * 3 * 32767;

}  // namespace

void readEveryCell(const std::string& path) {
    try {
        const auto book = workbook::readWorkbookFile(path);
        for (std::size_t s = 0; s < book->worksheetCount(); ++s) {
            const auto& sheet = dynamic_cast<const workbook::StoredWorksheet&>(book->worksheet(s));
            (void)sheet.usedRange();
            const workbook::CellStore& cells = sheet.cells();
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const workbook::StoredCell& cell = cells.cell(i);
                const std::string text = sheet.text(cell.row(), cell.col);
                if (text.size() > kMaxCellTextBytes) std::abort();
                (void)sheet.value(cell.row(), cell.col);
            }
            book->release(s);
        }
        (void)book->notice();
    } catch (const workbook::ReadError&) {
        // A damaged workbook or sheet is refused: what the target looks for is anything else.
    }
}

}  // namespace tabulon::fuzz

// Reading through both sheet paths and describing where the results differ.
#include "SheetPathComparison.h"

#include <cstring>
#include <sstream>

#include "core/workbook/CellReference.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/package/PackageReader.h"

namespace tabulon::workbook::testing {

namespace {

std::string rangeText(const CellRange& r) {
    return cellName(r.firstRow, r.firstCol) + ":" + cellName(r.lastRow, r.lastCol);
}

// The cell's whole content as text: kind, style and the bits of its value.
std::string cellText(const StoredWorksheet& sheet, const StoredCell& cell) {
    std::ostringstream out;
    out << cellName(cell.row(), cell.col) << " kind " << static_cast<int>(cell.kind()) << " style "
        << cell.style << " ";
    if (cell.kind() == StoredKind::Number) {
        std::uint64_t bits;
        std::memcpy(&bits, &cell.number, sizeof bits);
        out << "number " << cell.number << " bits " << bits;
    } else {
        const CellValue value = sheet.value(cell.row(), cell.col);
        out << "index " << cell.index << " text \"" << value.text << "\"";
    }
    return out.str();
}

std::string sheetDifference(const StoredWorksheet& a, const StoredWorksheet& b) {
    if (a.name() != b.name()) return "sheet names " + a.name() + " and " + b.name();
    const std::string where = "sheet " + a.name() + ": ";
    if (rangeText(a.usedRange()) != rangeText(b.usedRange()))
        return where + "used ranges " + rangeText(a.usedRange()) + " and " +
               rangeText(b.usedRange());
    if (a.cells().size() != b.cells().size())
        return where + std::to_string(a.cells().size()) + " and " +
               std::to_string(b.cells().size()) + " cells";
    for (std::size_t i = 0; i < a.cells().size(); ++i) {
        const std::string left = cellText(a, a.cells().cell(i));
        const std::string right = cellText(b, b.cells().cell(i));
        if (left != right) return where + left + " against " + right;
    }
    return {};
}

}  // namespace

SheetReadOutcome readThrough(const std::string& file, xlsx::SheetPath path) {
    SheetReadOutcome outcome;
    try {
        outcome.book =
            package::openPackage(std::make_unique<ZipArchive>(file), {path, &outcome.pathsTaken});
        // Every sheet is read here, so that a damaged one is this path's outcome.
        for (std::size_t i = 0; i < outcome.book->worksheetCount(); ++i)
            (void)outcome.book->worksheet(i);
    } catch (const ReadError& e) {
        outcome.book.reset();
        outcome.errorKind = e.kind();
        outcome.errorText = e.what();
    }
    return outcome;
}

std::string firstDifference(const SheetReadOutcome& a, const SheetReadOutcome& b) {
    if (a.errorKind || b.errorKind) {
        if (a.errorText != b.errorText || a.errorKind != b.errorKind)
            return "outcomes \"" + (a.errorKind ? a.errorText : "read") + "\" and \"" +
                   (b.errorKind ? b.errorText : "read") + "\"";
        return {};
    }
    if (a.book->worksheetCount() != b.book->worksheetCount()) return "worksheet counts";
    for (std::size_t i = 0; i < a.book->worksheetCount(); ++i) {
        const auto* left = dynamic_cast<const StoredWorksheet*>(&a.book->worksheet(i));
        const auto* right = dynamic_cast<const StoredWorksheet*>(&b.book->worksheet(i));
        if (left == nullptr || right == nullptr) return "a worksheet outside the cell store";
        if (std::string difference = sheetDifference(*left, *right); !difference.empty())
            return difference;
    }
    return {};
}

}  // namespace tabulon::workbook::testing

// Reading through both sheet paths and describing where the results differ.
#include "SheetPathComparison.h"

#include <cstring>
#include <sstream>

#include "core/workbook/CellReference.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/package/PackageReader.h"
#include "core/workbook/xlsx/XlsxFormat.h"

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
    out << " shown \"" << sheet.text(cell.row(), cell.col) << "\"";
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

// Opens the workbook and reads every sheet, so that a damaged one is this path's outcome.
template <class Open>
SheetReadOutcome readAll(Open open) {
    SheetReadOutcome outcome;
    try {
        outcome.book = open();
        for (std::size_t i = 0; i < outcome.book->worksheetCount(); ++i)
            (void)outcome.book->worksheet(i);
    } catch (const ReadError& e) {
        outcome.book.reset();
        outcome.errorKind = e.kind();
        outcome.errorText = e.what();
    }
    return outcome;
}

}  // namespace

SheetReadOutcome readThrough(const std::string& file, xlsx::SheetPath path) {
    std::vector<xlsx::SheetPath> taken;
    SheetReadOutcome outcome = readAll([&] {
        auto archive = std::make_unique<ZipArchive>(file);
        std::string part = package::findWorkbookPart(*archive);
        return package::openPackage(std::move(archive), std::move(part),
                                    xlsx::xmlFormat({path, &taken}));
    });
    outcome.pathsTaken = std::move(taken);
    return outcome;
}

SheetReadOutcome readThrough(const std::string& file, ods::TablePath path,
                             std::uint64_t halvedSize) {
    std::vector<ods::TablePath> taken;
    std::size_t joined = 0;
    SheetReadOutcome outcome = readAll([&] {
        return ods::readOds(std::make_unique<ZipArchive>(file), nullptr,
                            {path, &taken, halvedSize, &joined});
    });
    outcome.tablePaths = std::move(taken);
    outcome.halvesJoined = joined;
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

std::string mutated(std::string text, std::mt19937& random, std::span<const char* const> snippets) {
    static const std::string kBytes = "<>&\"'/:]=\r\n\t x0#;_?!\x01\xC3\xA9\xFF";
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const std::size_t at = pick(text.size());
    switch (pick(9)) {
        case 0:
            text.erase(at, 1);
            break;
        case 1:
            text[at] = kBytes[pick(kBytes.size())];
            break;
        case 2:
            text.insert(at, 1, kBytes[pick(kBytes.size())]);
            break;
        case 3:
            text.insert(at, text.substr(pick(text.size()), 1 + pick(20)));
            break;
        case 4:
            text.erase(at, 1 + pick(20));
            break;
        case 5:
            std::swap(text[at], text[pick(text.size())]);
            break;
        case 7: {
            // Well-formed markup after a tag, which keeps the package part readable.
            const std::size_t gt = text.find('>', at);
            if (gt != std::string::npos) text.insert(gt + 1, snippets[pick(snippets.size())]);
            break;
        }
        case 8:
            // A character replaced by its numeric reference.
            text.replace(at, 1, "&#" + std::to_string(static_cast<unsigned char>(text[at])) + ";");
            break;
        default:
            text.resize(at);
            break;
    }
    return text;
}

}  // namespace tabulon::workbook::testing

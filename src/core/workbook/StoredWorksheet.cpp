// Text and Value of stored cells: numbers through their cell format, the rest as they are.
#include "core/workbook/StoredWorksheet.h"

namespace tabulon::workbook {

StoredWorksheet::~StoredWorksheet() { book_.cellsLeft += cells_.size(); }

void StoredWorksheet::clear() {
    book_.cellsLeft += cells_.size();
    cells_ = CellStore();
    localStrings_.clear();
}

const numfmt::NumberFormat& StoredWorksheet::formatOf(const StoredCell& cell) const {
    // A style index beyond the file's cell formats falls back to the default format.
    return cell.style < book_.cellFormats.size() ? book_.cellFormats[cell.style]
                                                 : book_.cellFormats.front();
}

std::string_view StoredWorksheet::stringOf(const StoredCell& cell) const {
    return cell.kind() == StoredKind::SharedText ? book_.sharedStrings.get(cell.index)
                                                 : localStrings_.get(cell.index);
}

std::string StoredWorksheet::text(std::int32_t row, std::int32_t col) const {
    const StoredCell* cell = cells_.find(row, col);
    return cell == nullptr ? std::string() : textOf(*cell);
}

std::string StoredWorksheet::textOf(const StoredCell& cell) const {
    switch (cell.kind()) {
        case StoredKind::StyleOnly:
            return {};
        case StoredKind::Number:
            return formatOf(cell).format(cell.number, book_.date1904);
        case StoredKind::SharedText:
        case StoredKind::LocalText:
            return formatOf(cell).formatText(stringOf(cell));
        case StoredKind::Boolean:
            return numfmt::NumberFormat::formatBoolean(cell.index != 0);
        case StoredKind::Error:
            return std::string(stringOf(cell));
    }
    return {};
}

CellValue StoredWorksheet::value(std::int32_t row, std::int32_t col) const {
    const StoredCell* cell = cells_.find(row, col);
    if (cell == nullptr) return {};
    switch (cell->kind()) {
        case StoredKind::StyleOnly:
            return {};
        case StoredKind::Number:
            return formatOf(*cell).isDateTime() ? CellValue::makeDate(cell->number)
                                                : CellValue::makeNumber(cell->number);
        case StoredKind::SharedText:
        case StoredKind::LocalText:
            return CellValue::makeText(std::string(stringOf(*cell)));
        case StoredKind::Boolean:
            return CellValue::makeBoolean(cell->index != 0);
        case StoredKind::Error:
            return CellValue::makeError(std::string(stringOf(*cell)));
    }
    return {};
}

}  // namespace tabulon::workbook

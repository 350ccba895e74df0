// Cell styles to number formats, through the row and column defaults.
#include "core/workbook/ods/CellStyleFormats.h"

#include <algorithm>
#include <iterator>

namespace tabulon::workbook::ods {

void CellStyleFormats::addColumns(std::int32_t first, std::int32_t last,
                                  MarkupAttributes attributes) {
    if (const auto style = findAttribute(attributes, "default-cell-style-name"))
        columns_.push_back({first, last, formats_.formatOf(*style)});
}

void CellStyleFormats::startRow(MarkupAttributes attributes) {
    // An empty default style name counts as none, as an absent one does.
    const auto style = findAttribute(attributes, "default-cell-style-name");
    rowStyled_ = style && !style->empty();
    if (rowStyled_) rowFormat_ = formats_.formatOf(*style);
}

std::uint16_t CellStyleFormats::formatOf(std::string_view cellStyle, std::int64_t column) {
    if (!cellStyle.empty()) {
        Recent& recent = recent_[static_cast<std::size_t>(column) % recent_.size()];
        if (cellStyle != recent.style) {
            recent.style.assign(cellStyle);
            recent.format = formats_.formatOf(cellStyle);
        }
        return recent.format;
    }
    if (rowStyled_) return rowFormat_;
    const auto after =
        std::upper_bound(columns_.begin(), columns_.end(), column,
                         [](std::int64_t col, const ColumnStyle& run) { return col < run.first; });
    if (after != columns_.begin() && column <= std::prev(after)->last)
        return std::prev(after)->format;
    return formats_.formatOf({});
}

}  // namespace tabulon::workbook::ods

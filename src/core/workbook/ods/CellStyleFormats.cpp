// Cell styles to number formats, through the row and column defaults.
#include "core/workbook/ods/CellStyleFormats.h"

#include <algorithm>
#include <iterator>

namespace tabulon::workbook::ods {

CellStyleFormats::CellStyleFormats(const OdsStyles& styles,
                                   std::vector<numfmt::NumberFormat>& formats)
    : styles_(styles), formats_(formats) {
    if (formats_.empty()) formats_.push_back(numfmt::NumberFormat::compile("General"));
    codeFormats_.emplace("General", 0);
}

void CellStyleFormats::addColumns(std::int32_t first, std::int32_t last,
                                  const xml::XmlAttributes& attributes) {
    if (const char* style = attributes.find("default-cell-style-name"))
        columns_.push_back({first, last, style});
}

void CellStyleFormats::startRow(const xml::XmlAttributes& attributes) {
    const char* style = attributes.find("default-cell-style-name");
    rowStyle_ = style != nullptr ? style : "";
}

const std::string& CellStyleFormats::styleName(const std::string& cellStyle,
                                               std::int64_t column) const {
    static const std::string none;
    if (!cellStyle.empty()) return cellStyle;
    if (!rowStyle_.empty()) return rowStyle_;
    const auto after =
        std::upper_bound(columns_.begin(), columns_.end(), column,
                         [](std::int64_t col, const ColumnStyle& run) { return col < run.first; });
    if (after != columns_.begin() && column <= std::prev(after)->last)
        return std::prev(after)->style;
    return none;
}

std::uint16_t CellStyleFormats::formatOf(const std::string& cellStyle, std::int64_t column) {
    const std::string& name = styleName(cellStyle, column);
    // Neighbouring cells mostly share their style.
    if (lastStyle_ && *lastStyle_ == name) return lastStyleFormat_;
    auto found = styleFormats_.find(name);
    if (found == styleFormats_.end())
        found = styleFormats_.emplace(name, formatOfCode(styles_.formatCode(name))).first;
    lastStyle_ = &found->first;
    lastStyleFormat_ = found->second;
    return found->second;
}

std::uint16_t CellStyleFormats::formatOfCode(const std::string& code) {
    const auto found = codeFormats_.find(code);
    if (found != codeFormats_.end()) return found->second;
    if (formats_.size() > 0xFFFF) return 0;  // beyond the store's style range: General
    formats_.push_back(numfmt::NumberFormat::compile(code));
    const auto index = static_cast<std::uint16_t>(formats_.size() - 1);
    codeFormats_.emplace(code, index);
    return index;
}

}  // namespace tabulon::workbook::ods

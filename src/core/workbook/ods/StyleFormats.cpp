// Every cell style's format code compiled once, when the workbook opens.
#include "core/workbook/ods/StyleFormats.h"

#include "core/workbook/CellFormats.h"

namespace tabulon::workbook::ods {

StyleFormats::StyleFormats(const OdsStyles& styles, std::vector<numfmt::NumberFormat>& formats)
    : formats_(formats) {
    if (formats_.empty()) formats_ = generalCellFormats();
    codeFormats_.emplace("General", 0);
    // An empty name stands for the document's default cell style, as an unknown one does.
    default_ = formatOfCode(styles.formatCode(""));
    for (const std::string& name : styles.cellStyleNames())
        if (!name.empty()) styleFormats_.emplace(name, formatOfCode(styles.formatCode(name)));
    date_ = formatOfCode("m/d/yyyy");
    dateTime_ = formatOfCode("m/d/yyyy h:mm:ss");
    duration_ = formatOfCode("[h]:mm:ss");
}

std::uint16_t StyleFormats::formatOf(std::string_view cellStyle) const {
    const auto found = styleFormats_.find(cellStyle);
    return found != styleFormats_.end() ? found->second : default_;
}

std::uint16_t StyleFormats::formatOfCode(const std::string& code) {
    const auto found = codeFormats_.find(code);
    if (found != codeFormats_.end()) return found->second;
    if (formats_.size() > 0xFFFF) return 0;  // beyond the store's style range: General
    formats_.push_back(numfmt::NumberFormat::compile(code));
    const auto index = static_cast<std::uint16_t>(formats_.size() - 1);
    codeFormats_.emplace(code, index);
    return index;
}

}  // namespace tabulon::workbook::ods

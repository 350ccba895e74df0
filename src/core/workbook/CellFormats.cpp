// Compiling the cell formats' number formats once per format id.
#include "core/workbook/CellFormats.h"

#include <string_view>

namespace tabulon::workbook {

std::vector<numfmt::NumberFormat> generalCellFormats() {
    return {numfmt::NumberFormat::compile("General")};
}

std::vector<numfmt::NumberFormat> compileCellFormats(std::span<const int> formatIds,
                                                     const std::map<int, std::string>& codes) {
    if (formatIds.empty()) return generalCellFormats();
    std::map<int, numfmt::NumberFormat> compiled;
    std::vector<numfmt::NumberFormat> formats;
    formats.reserve(formatIds.size());
    for (const int id : formatIds) {
        auto it = compiled.find(id);
        if (it == compiled.end()) {
            const auto own = codes.find(id);
            const std::string_view code =
                own != codes.end() ? std::string_view(own->second) : numfmt::builtinFormatCode(id);
            it = compiled.emplace(id, numfmt::NumberFormat::compile(code)).first;
        }
        formats.push_back(it->second);
    }
    return formats;
}

}  // namespace tabulon::workbook

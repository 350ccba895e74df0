// Compiling the number formats of the XF records once per format id.
#include "core/workbook/xls/CellFormatTable.h"

#include <string_view>

namespace tabulon::workbook::xls {

namespace {

constexpr int kBiff2FormatIds = 64;  // a BIFF2 cell's format index has six bits

}  // namespace

std::vector<numfmt::NumberFormat> CellFormatTable::compile() const {
    std::vector<int> ids = xfFormats_;
    if (ids.empty())
        for (int id = 0; id < kBiff2FormatIds; ++id) ids.push_back(id);

    std::map<int, numfmt::NumberFormat> compiled;
    std::vector<numfmt::NumberFormat> formats;
    formats.reserve(ids.size());
    for (const int id : ids) {
        auto it = compiled.find(id);
        if (it == compiled.end()) {
            const auto custom = codes_.find(id);
            const std::string_view code = custom != codes_.end() ? std::string_view(custom->second)
                                                                 : numfmt::builtinFormatCode(id);
            it = compiled.emplace(id, numfmt::NumberFormat::compile(code)).first;
        }
        formats.push_back(it->second);
    }
    return formats;
}

}  // namespace tabulon::workbook::xls

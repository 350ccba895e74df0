// Compiling the number formats of the XF records once per format id.
#include "core/workbook/xls/CellFormatTable.h"

#include "core/workbook/CellFormats.h"

namespace tabulon::workbook::xls {

namespace {

constexpr int kBiff2FormatIds = 64;  // a BIFF2 cell's format index has six bits

}  // namespace

std::vector<numfmt::NumberFormat> CellFormatTable::compile() const {
    std::vector<int> ids = xfFormats_;
    if (ids.empty())
        for (int id = 0; id < kBiff2FormatIds; ++id) ids.push_back(id);
    return compileCellFormats(ids, codes_);
}

}  // namespace tabulon::workbook::xls

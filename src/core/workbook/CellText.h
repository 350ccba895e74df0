// The length limit of one cell's text: cutting finished text and bounding text being gathered.
#pragma once

#include <string>
#include <string_view>

#include "core/workbook/ReadLimits.h"

namespace tabulon::workbook {

// The UTF-8 text cut after kMaxCellTextUnits UTF-16 code units, at a character boundary.
std::string_view cutCellText(std::string_view text);

// Appends the piece while the text is shorter than kMaxCellMarkupBytes; what lies beyond is
// dropped, since it falls after the cut that cutCellText makes anyway.
inline void appendCellMarkup(std::string& text, std::string_view piece) {
    if (text.size() < kMaxCellMarkupBytes)
        text.append(piece.substr(0, kMaxCellMarkupBytes - text.size()));
}

}  // namespace tabulon::workbook

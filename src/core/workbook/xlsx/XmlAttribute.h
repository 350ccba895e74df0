// One attribute of an element as the xlsx builders get it, from expat or from the content scanner.
#pragma once

#include <string_view>

namespace tabulon::workbook::xlsx {

// Its local name (without prefix) and its value, entities decoded.
struct XmlAttribute {
    std::string_view name;
    std::string_view value;
};

}  // namespace tabulon::workbook::xlsx

// An attribute of an element inside a table, as both the table scanner and expat hand it over.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace tabulon::workbook::ods {

struct MarkupAttribute {
    std::string_view qualifiedName;  // with its prefix, if any
    std::string_view name;           // the local name: after the last colon
    std::string_view value;          // references decoded
};

using MarkupAttributes = std::span<const MarkupAttribute>;

// The value of the attribute with this local name (whatever its prefix).
inline std::optional<std::string_view> findAttribute(MarkupAttributes attributes,
                                                     std::string_view name) {
    for (const MarkupAttribute& a : attributes)
        if (a.name == name) return a.value;
    return std::nullopt;
}

}  // namespace tabulon::workbook::ods

// An attribute of an element inside a table, as both the table scanner and expat hand it over.
#pragma once

#include <cstring>
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

// Whether the name is the literal: a comparison of constant length, which the compiler inlines.
template <std::size_t N>
bool named(std::string_view name, const char (&literal)[N]) {
    return name.size() == N - 1 && std::memcmp(name.data(), literal, N - 1) == 0;
}

// The value of the attribute with this local name (whatever its prefix).
template <std::size_t N>
std::optional<std::string_view> findAttribute(MarkupAttributes attributes, const char (&name)[N]) {
    for (const MarkupAttribute& a : attributes)
        if (named(a.name, name)) return a.value;
    return std::nullopt;
}

}  // namespace tabulon::workbook::ods

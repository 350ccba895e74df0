// The cells of <sheetData>, with or without r attributes, from element events.
#include "core/workbook/xlsx/SheetBuilder.h"

#include <charconv>
#include <cstring>
#include <type_traits>

#include "core/workbook/CellReference.h"
#include "core/workbook/DecimalText.h"
#include "core/workbook/xml/EscapedText.h"
#include "core/workbook/xml/IsoDate.h"

namespace tabulon::workbook::xlsx {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' ||
                             text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' ||
                             text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Whether the name is the literal; a comparison of constant length, which the compiler inlines.
template <std::size_t N>
bool named(std::string_view name, const char (&literal)[N]) {
    return name.size() == N - 1 && std::memcmp(name.data(), literal, N - 1) == 0;
}

template <class T>
bool parseWhole(std::string_view text, T& out) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if constexpr (std::is_same_v<T, double>) {
        return readDecimal(text, out);
    } else {
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
        return ec == std::errc() && end == text.data() + text.size() && !text.empty();
    }
}

}  // namespace

void SheetBuilder::startElement(std::string_view name, std::span<const XmlAttribute> attributes) {
    if (!inSheetData_) {
        if (named(name, "sheetData")) inSheetData_ = true;
        return;
    }
    if (inCell_) {
        startInCell(name);
    } else if (named(name, "c")) {
        startCell(attributes);
    } else if (named(name, "row")) {
        startRow(attributes);
    }
}

void SheetBuilder::endElement(std::string_view name) {
    if (!inSheetData_) return;
    if (named(name, "v") || named(name, "t")) {
        wantText_ = false;
    } else if (named(name, "rPh")) {
        --phoneticDepth_;
    } else if (named(name, "is")) {
        inInlineString_ = false;
    } else if (named(name, "c")) {
        endCell();
    } else if (named(name, "sheetData")) {
        inSheetData_ = false;
    }
}

void SheetBuilder::textElement(std::string_view name, std::string_view text) {
    startElement(name, {});
    if (wantText_) characters(text);
    endElement(name);
}

void SheetBuilder::finish() {
    sheet_.cells().finish();
    sheet_.localStrings().shrinkToFit();
}

void SheetBuilder::fail(ReadErrorKind kind, std::string cell, std::string detail) const {
    throw ReadError(kind, {file_, std::string(part_), sheet_.name(), std::move(cell)},
                    std::move(detail));
}

void SheetBuilder::badValue(std::string detail) const {
    fail(ReadErrorKind::BadCellValue, cellName(row_, col_), std::move(detail));
}

void SheetBuilder::startRow(std::span<const XmlAttribute> attributes) {
    const XmlAttribute* r = nullptr;
    for (const XmlAttribute& a : attributes) {
        if (named(a.name, "r")) {
            r = &a;
            break;
        }
    }
    if (r != nullptr) {
        std::int64_t row = 0;
        if (!parseWhole(r->value, row))
            fail(ReadErrorKind::BadCellValue, {}, "a row number is not a number");
        if (row < 1 || row > kMaxRows)
            fail(ReadErrorKind::CellOutOfBounds, {}, "row " + std::string(r->value));
        row_ = static_cast<std::int32_t>(row);
    } else {
        ++row_;
        if (row_ > kMaxRows)
            fail(ReadErrorKind::CellOutOfBounds, {}, "row " + std::to_string(row_));
    }
    col_ = 0;
}

void SheetBuilder::startCell(std::span<const XmlAttribute> attributes) {
    inCell_ = true;
    type_ = CellType::Number;
    style_ = 0;
    hasValue_ = false;
    hasInline_ = false;
    const XmlAttribute* reference = nullptr;
    for (const XmlAttribute& a : attributes) {
        if (named(a.name, "r")) {
            reference = &a;
        } else if (named(a.name, "s")) {
            unsigned style = 0;
            // Styles beyond the 16-bit range fall back to the default format.
            style_ = parseWhole(a.value, style) && style <= 0xFFFF
                         ? static_cast<std::uint16_t>(style)
                         : 0xFFFF;
        } else if (named(a.name, "t")) {
            const std::string_view t = a.value;
            type_ = named(t, "s")           ? CellType::SharedString
                    : named(t, "str")       ? CellType::FormulaString
                    : named(t, "inlineStr") ? CellType::InlineString
                    : named(t, "b")         ? CellType::Boolean
                    : named(t, "e")         ? CellType::Error
                    : named(t, "d")         ? CellType::Date
                                            : CellType::Number;
        }
    }
    if (row_ == 0) row_ = 1;  // a cell before any row element
    if (reference == nullptr) {
        if (++col_ > kMaxColumns)
            fail(ReadErrorKind::CellOutOfBounds, {},
                 "a cell after column XFD in row " + std::to_string(row_));
        return;
    }
    const auto position = parseCellReference(reference->value);
    if (!position)
        fail(ReadErrorKind::BadCellValue, {},
             "the cell reference \"" + std::string(reference->value) + "\" is not valid");
    col_ = position->col;
    if (position->row != 0) row_ = position->row;
}

void SheetBuilder::startInCell(std::string_view name) {
    if (named(name, "v")) {
        hasValue_ = true;
        value_.clear();
        target_ = &value_;
        wantText_ = true;
    } else if (named(name, "is")) {
        hasInline_ = true;
        inInlineString_ = true;
        inline_.clear();
    } else if (named(name, "rPh")) {
        ++phoneticDepth_;
    } else if (named(name, "t") && inInlineString_ && phoneticDepth_ == 0) {
        target_ = &inline_;
        wantText_ = true;
    }
}

void SheetBuilder::endCell() {
    inCell_ = false;
    switch (type_) {
        case CellType::Number:
            if (hasValue_ && !trimmed(value_).empty()) {
                double number = 0;
                if (!parseWhole(std::string_view(value_), number))
                    badValue("the value \"" + value_ + "\" of a number cell is not a number");
                return store(StoredKind::Number, number, 0);
            }
            break;
        case CellType::Date:
            if (hasValue_ && !trimmed(value_).empty()) {
                const auto serial = xml::isoDateToSerial(trimmed(value_), book_.date1904);
                if (!serial) badValue("the value \"" + value_ + "\" of a date cell is not a date");
                return store(StoredKind::Number, *serial, 0);
            }
            break;
        case CellType::SharedString:
            if (hasValue_) {
                std::uint32_t index = 0;
                if (!parseWhole(std::string_view(value_), index) ||
                    index >= book_.sharedStrings.size())
                    badValue("the shared string number \"" + value_ + "\" does not exist");
                return store(StoredKind::SharedText, 0, index);
            }
            break;
        case CellType::InlineString:
            if (hasInline_) return storeLocal(StoredKind::LocalText, inline_);
            if (hasValue_) return storeLocal(StoredKind::LocalText, value_);
            break;
        case CellType::FormulaString:
            if (hasValue_) return storeLocal(StoredKind::LocalText, value_);
            break;
        case CellType::Boolean:
            if (hasValue_ && !trimmed(value_).empty()) {
                const std::string_view v = trimmed(value_);
                return store(StoredKind::Boolean, 0, v == "1" || v == "true" ? 1 : 0);
            }
            break;
        case CellType::Error:
            if (hasValue_) return storeLocal(StoredKind::Error, value_);
            break;
    }
    // No value: a cell that only carries formatting. The default format adds nothing.
    if (style_ != 0) store(StoredKind::StyleOnly, 0, 0);
}

void SheetBuilder::storeLocal(StoredKind kind, std::string& text) {
    xml::decodeEscapedCharacters(text);
    store(kind, 0, static_cast<std::uint32_t>(sheet_.localStrings().add(text)));
}

void SheetBuilder::store(StoredKind kind, double number, std::uint32_t index) {
    writer_.store(row_, col_, kind, style_, number, index);
}

}  // namespace tabulon::workbook::xlsx

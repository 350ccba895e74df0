// Value types and their attributes to numbers, dates, times, booleans, text and errors.
#include "core/workbook/ods/CellValueReader.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "core/workbook/DecimalText.h"
#include "core/workbook/ods/Duration.h"
#include "core/workbook/xml/IsoDate.h"

namespace tabulon::workbook::ods {

namespace {

bool parseNumber(std::string_view text, double& out) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin != end && *begin == ' ') ++begin;
    if (begin != end && *begin == '+') ++begin;
    return readDecimal(std::string_view(begin, end - begin), out);
}

}  // namespace

CellValueReader::ValueType CellValueReader::typeOf(std::string_view text) {
    if (text == "float" || text == "percentage" || text == "currency") return ValueType::Float;
    if (text == "date") return ValueType::Date;
    if (text == "time") return ValueType::Time;
    if (text == "boolean") return ValueType::Boolean;
    if (text == "string") return ValueType::String;
    return ValueType::None;
}

void CellValueReader::startCell(MarkupAttributes attributes, std::int64_t column) {
    valueType_ = ValueType::None;
    error_ = false;
    hasStringValue_ = false;
    std::string_view value, date, time, boolean, style;
    for (const MarkupAttribute& a : attributes) {
        // By the name's length first: most attributes are told apart without comparing text.
        const std::string_view name = a.name;
        switch (name.size()) {
            case 5:
                if (named(name, "value")) value = a.value;
                break;
            case 10:
                if (named(name, "value-type")) {
                    // LibreOffice adds its own value type, which also knows error values.
                    if (a.qualifiedName.starts_with("calcext:")) {
                        error_ = named(a.value, "error");
                    } else {
                        valueType_ = typeOf(a.value);
                    }
                } else if (named(name, "date-value")) {
                    date = a.value;
                } else if (named(name, "time-value")) {
                    time = a.value;
                } else if (named(name, "style-name")) {
                    style = a.value;
                }
                break;
            case 12:
                if (named(name, "string-value")) {
                    stringValue_.assign(a.value);
                    hasStringValue_ = true;
                }
                break;
            case 13:
                if (named(name, "boolean-value")) boolean = a.value;
                break;
            default:
                break;
        }
    }
    format_ = formats_.formatOf(style, column);
    valueRead_ = false;
    switch (valueType_) {
        case ValueType::Float:
            valueRead_ = parseNumber(value, number_);
            break;
        case ValueType::Date:
            if (const auto serial = xml::isoDateToSerial(date, book_.date1904)) {
                number_ = *serial;
                valueRead_ = true;
            }
            break;
        case ValueType::Time:
            if (const auto days = durationToDays(time)) {
                number_ = *days;
                valueRead_ = true;
            }
            break;
        case ValueType::Boolean:
            valueRead_ = boolean == "true" || boolean == "false";
            boolean_ = boolean == "true";
            break;
        case ValueType::String:
        case ValueType::None:
            break;
    }
}

std::optional<CellContent> CellValueReader::content(const CellParagraphs& paragraphs,
                                                    OdsWorksheet& sheet) {
    if (error_) return textContent(StoredKind::Error, paragraphs.text(), sheet);
    if (valueRead_) {
        switch (valueType_) {
            case ValueType::Float:
                return numberContent(std::nullopt, paragraphs);
            case ValueType::Date:
                return numberContent(
                    std::floor(number_) == number_ ? styles_.date() : styles_.dateTime(),
                    paragraphs);
            case ValueType::Time:
                return numberContent(styles_.duration(), paragraphs);
            case ValueType::Boolean: {
                CellContent cell{};
                cell.kind = StoredKind::Boolean;
                cell.style = format_;
                cell.index = boolean_ ? 1 : 0;
                return cell;
            }
            case ValueType::String:
            case ValueType::None:
                break;
        }
    }
    if (valueType_ == ValueType::String)
        return textContent(StoredKind::LocalText,
                           hasStringValue_ ? stringValue_ : paragraphs.text(), sheet);
    // A value that cannot be read, or a cell without a value type, shows its paragraphs.
    return textContent(StoredKind::LocalText, paragraphs.text(), sheet);
}

std::optional<CellContent> CellValueReader::textContent(StoredKind kind, std::string_view text,
                                                        OdsWorksheet& sheet) const {
    if (text.empty()) return std::nullopt;
    CellContent cell{};
    cell.kind = kind;
    cell.style = format_;
    cell.index = sheet.localStrings().add(text);
    return cell;
}

CellContent CellValueReader::numberContent(std::optional<std::uint16_t> dateFallback,
                                           const CellParagraphs& paragraphs) const {
    CellContent cell{};
    cell.kind = StoredKind::Number;
    cell.number = number_;
    cell.style = format_;
    if (dateFallback && !book_.cellFormats[format_].isDateTime()) cell.style = *dateFallback;
    cell.shown = paragraphs.any();
    if (cell.shown) cell.shownText = paragraphs.text();
    return cell;
}

}  // namespace tabulon::workbook::ods

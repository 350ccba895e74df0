// Value types and their attributes to numbers, dates, times, booleans, text and errors.
#include "core/workbook/ods/CellValueReader.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "core/workbook/ods/Duration.h"
#include "core/workbook/xml/IsoDate.h"

namespace tabulon::workbook::ods {

namespace {

bool parseNumber(const std::string& text, double& out) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin != end && *begin == ' ') ++begin;
    if (begin != end && *begin == '+') ++begin;
    const auto [stop, ec] = std::from_chars(begin, end, out);
    return ec == std::errc() && stop == end && begin != end;
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

void CellValueReader::startCell(MarkupAttributes attributes) {
    valueType_ = ValueType::None;
    error_ = false;
    hasStringValue_ = false;
    for (std::string* text :
         {&valueText_, &dateText_, &timeText_, &booleanText_, &stringText_, &styleText_})
        text->clear();
    for (const MarkupAttribute& a : attributes) {
        if (a.name == "value-type") {
            // LibreOffice adds its own value type, which also knows error values.
            if (a.qualifiedName.starts_with("calcext:")) {
                error_ = a.value == "error";
            } else {
                valueType_ = typeOf(a.value);
            }
        } else if (a.name == "value") {
            valueText_ = a.value;
        } else if (a.name == "date-value") {
            dateText_ = a.value;
        } else if (a.name == "time-value") {
            timeText_ = a.value;
        } else if (a.name == "boolean-value") {
            booleanText_ = a.value;
        } else if (a.name == "string-value") {
            stringText_ = a.value;
            hasStringValue_ = true;
        } else if (a.name == "style-name") {
            styleText_ = a.value;
        }
    }
}

std::optional<CellContent> CellValueReader::content(const CellParagraphs& paragraphs,
                                                    std::int64_t column, OdsWorksheet& sheet) {
    if (error_) return textContent(StoredKind::Error, paragraphs.text(), column, sheet);
    double value = 0;
    switch (valueType_) {
        case ValueType::Float:
            if (parseNumber(valueText_, value))
                return numberContent(value, std::nullopt, paragraphs, column, sheet);
            break;
        case ValueType::Date:
            if (const auto serial = xml::isoDateToSerial(dateText_, book_.date1904))
                return numberContent(
                    *serial, std::floor(*serial) == *serial ? styles_.date() : styles_.dateTime(),
                    paragraphs, column, sheet);
            break;
        case ValueType::Time:
            if (const auto days = durationToDays(timeText_))
                return numberContent(*days, styles_.duration(), paragraphs, column, sheet);
            break;
        case ValueType::Boolean:
            if (booleanText_ == "true" || booleanText_ == "false") {
                CellContent cell{};
                cell.kind = StoredKind::Boolean;
                cell.style = formats_.formatOf(styleText_, column);
                cell.index = booleanText_ == "true" ? 1 : 0;
                return cell;
            }
            break;
        case ValueType::String:
            return textContent(StoredKind::LocalText,
                               hasStringValue_ ? stringText_ : paragraphs.text(), column, sheet);
        case ValueType::None:
            break;
    }
    // A value that cannot be read, or a cell without a value type, shows its paragraphs.
    return textContent(StoredKind::LocalText, paragraphs.text(), column, sheet);
}

std::optional<CellContent> CellValueReader::textContent(StoredKind kind, const std::string& text,
                                                        std::int64_t column, OdsWorksheet& sheet) {
    if (text.empty()) return std::nullopt;
    CellContent cell{};
    cell.kind = kind;
    cell.style = formats_.formatOf(styleText_, column);
    cell.index = sheet.localStrings().add(text);
    return cell;
}

CellContent CellValueReader::numberContent(double number, std::optional<std::uint16_t> dateFallback,
                                           const CellParagraphs& paragraphs, std::int64_t column,
                                           OdsWorksheet& sheet) {
    CellContent cell{};
    cell.kind = StoredKind::Number;
    cell.number = number;
    cell.style = formats_.formatOf(styleText_, column);
    if (dateFallback && !book_.cellFormats[cell.style].isDateTime()) cell.style = *dateFallback;
    cell.shown = paragraphs.any();
    if (cell.shown) cell.shownText = sheet.shownTexts().hold(paragraphs.text());
    return cell;
}

}  // namespace tabulon::workbook::ods

// The text of a cell's value, as the row and column modes write it, and as it is stored.
#include "core/export/CellValueText.h"

#include "core/numfmt/ValueText.h"

namespace tabulon {

std::string cellValueText(const workbook::CellValue& value, bool date1904) {
    using Kind = workbook::CellValue::Kind;
    switch (value.kind) {
        case Kind::Empty:
            return {};
        case Kind::Text:
        case Kind::Error:
            return value.text;
        case Kind::Boolean:
            return value.boolean ? "True" : "False";
        case Kind::Number:
            return numfmt::numberValueText(value.number);
        case Kind::Date:
            return numfmt::dateValueText(value.number, date1904);
    }
    return {};
}

std::string storedValueText(const workbook::CellValue& value, bool date1904) {
    using Kind = workbook::CellValue::Kind;
    switch (value.kind) {
        case Kind::Empty:
            return {};
        case Kind::Text:
        case Kind::Error:
            return value.text;
        case Kind::Boolean:
            return value.boolean ? "TRUE" : "FALSE";
        case Kind::Date:
            if (auto text = numfmt::isoDateTimeText(value.number, date1904)) return *text;
            break;
        case Kind::Number:
            break;
    }
    return numfmt::shortestNumberText(value.number);
}

}  // namespace tabulon
